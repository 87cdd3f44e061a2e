// The program's own forms on the window backend, through a whole packing run as a user does it:
// File > Open, the options dialog, the disk search with its progress lines, the "Done!" box,
// File > Exit. Screenshots of the windows go to the build folder.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Text_Display.H>
#include <FL/Fl_Window.H>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Packer.h"
#include "app/options/Optionscrn.h"
#include "app/PackerTexts.h"
#include "platform/Exit.h"
#include "platform/ui/fltk/FltkBackend.h"
#include "platform/vcl/Forms.h"
#include "tests/platform/fltk/Driver.h"
#include "tests/support/PafFixture.h"
#include "tests/support/TempFolder.h"

namespace {

using corvane::testing::findWidget;
using corvane::testing::findWindow;
using corvane::testing::Script;
using corvane::testing::widgetAt;
using corvane::testing::widgetsOf;

constexpr int kMenuBar = 19;
// The main window is found by its caption.
constexpr const char* kMainTitle = texts::kCaption;

struct ProcessEnded {
  int status;
};
[[noreturn]] void throwProcessEnded(int status) { throw ProcessEnded{status}; }

std::string shot(const std::string& name) { return corvane::testing::screenshotFolder() + "/" + name; }

// Passes everything to the window backend, and looks at the screen when the disk search shows
// its progress line for the first time: the search takes no input, so only a repaint at once
// can show it.
class Watching final : public vcl::Backend {
 public:
  explicit Watching(vcl::Backend& inner) : inner_(inner), previous_(vcl::setBackend(this)) {}
  ~Watching() override { vcl::setBackend(previous_); }

  int messageBox(const std::string& text, const std::string& caption, unsigned buttons) override {
    return inner_.messageBox(text, caption, buttons);
  }
  std::optional<vcl::FileDialogChoice> runFileDialog(const vcl::TOpenDialog& dialog) override {
    return inner_.runFileDialog(dialog);
  }
  void runModal(vcl::TForm& form) override { inner_.runModal(form); }
  void runMainLoop(vcl::TApplication& app) override { inner_.runMainLoop(app); }
  void formShown(vcl::TForm& form) override { inner_.formShown(form); }
  void formHidden(vcl::TForm& form) override { inner_.formHidden(form); }
  void changed(vcl::TComponent& component) override { inner_.changed(component); }
  void timerChanged(vcl::TTimer& timer) override { inner_.timerChanged(timer); }
  void destroying(vcl::TComponent& component) override { inner_.destroying(component); }

  void repaint(vcl::TControl& control) override {
    inner_.repaint(control);
    if (control.name() != "Label3" || !progressCaption.empty()) return;
    Fl_Window* window = findWindow(kMainTitle);
    if (window == nullptr) return;
    progressCaption = static_cast<vcl::TLabel&>(control).caption();
    memoDuringSearch = Form1->Memo1->text();
    auto* memo = widgetsOf<Fl_Text_Display>(*window).at(0);
    char* shown = memo->buffer()->text();
    memoShownDuringSearch = shown;
    std::free(shown);
    // Label2 at 3, 0 and Label3 at 3, 16 of the client area, below the menu bar.
    statusDark = corvane::testing::darkPixels(*window, 3, kMenuBar, 300, 13);
    progressDark = corvane::testing::darkPixels(*window, 3, kMenuBar + 16, 300, 13);
    corvane::testing::screenshot(*window, shot("main-window-searching.png"));
  }

  std::string progressCaption;
  std::string memoDuringSearch;
  std::string memoShownDuringSearch;  // UTF-8, as the text area holds it
  int statusDark = -1;
  int progressDark = -1;

 private:
  vcl::Backend& inner_;
  vcl::Backend* previous_;
};

struct Place {
  const char* what;
  int x, y, w, h;
};

void expectPlace(Fl_Widget* widget, const Place& p) {
  ASSERT_NE(widget, nullptr) << p.what;
  EXPECT_EQ(widget->x(), p.x) << p.what;
  EXPECT_EQ(widget->y(), p.y) << p.what;
  EXPECT_EQ(widget->w(), p.w) << p.what;
  EXPECT_EQ(widget->h(), p.h) << p.what;
}

void checkMainWindow(Fl_Window& window) {
  EXPECT_EQ(window.x(), 192);
  EXPECT_EQ(window.y(), 114);
  EXPECT_EQ(window.w(), 469 - 8);
  EXPECT_EQ(window.h(), 379 - 8 - 19);
  Fl_Menu_Bar* bar = widgetsOf<Fl_Menu_Bar>(window).at(0);
  expectPlace(bar, {"MainMenu1", 0, 0, 469 - 8, kMenuBar});
  std::vector<std::string> menus;
  for (const Fl_Menu_Item* m = bar->menu(); m->text != nullptr; m = m->next()) menus.push_back(m->text);
  EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&Help"}));
  std::vector<std::string> files;
  for (const Fl_Menu_Item* m = corvane::testing::menuItem(*bar, {"&File"}) + 1; m->text != nullptr; m = m->next()) {
    files.push_back(m->text);
  }
  EXPECT_EQ(files, (std::vector<std::string>{"&Open", "E&xit"})) << "no recent files";
  expectPlace(findWidget<Fl_Box>(window, std::string(11, ' ')), {"Label2", 3, kMenuBar, 33, 13});
  expectPlace(findWidget<Fl_Box>(window, std::string(13, ' ')), {"Label3", 3, kMenuBar + 16, 39, 13});
  expectPlace(widgetAt<Fl_Text_Display>(window, 9, kMenuBar + 33), {"Memo1", 8, kMenuBar + 32, 449, 289});
  EXPECT_EQ(widgetAt<Fl_Text_Display>(window, 9, kMenuBar + 33)->box(), FL_FLAT_BOX) << "no border";
}

void checkOptionsDialog(Fl_Window& window) {
  EXPECT_EQ(window.x(), 192);
  EXPECT_EQ(window.y(), 114);
  EXPECT_EQ(window.w(), 514 - 8);
  EXPECT_EQ(window.h(), 421 - 8 - 19);
  const struct {
    const char* caption;
    Place place;
  } checks[] = {
      {"List the multimedia files (to the screen)", {"cbListOnly", 40, 32, 201, 17}},
      {"Write the listing to a file.", {"cbToFile", 56, 56, 161, 17}},
      {"Simplify path of Multi-Media  files.", {"cbNormalizePaths", 40, 120, 185, 17}},
      {"Fix broken links to multi-media files.", {"cbSearchAndRescue", 40, 152, 297, 17}},
      {"Search entire disk to find missing files.", {"cbBruteForce", 56, 200, 225, 17}},
      {"Search other drives too (besides C:)", {"cbOtherDrives", 88, 248, 201, 17}},
      {"If a file by the same name (but different folder) is known use known file for unknown file.",
       {"cbCopyIfKnown", 56, 176, 441, 17}},
      {"Create Archive file", {"cbCreateArchive", 40, 272, 129, 17}},
  };
  for (const auto& c : checks) expectPlace(findWidget<Fl_Check_Button>(window, c.caption), c.place);
  expectPlace(widgetAt<Fl_Input>(window, 57, 81), {"ebListingFilePath", 56, 80, 289, 21});
  expectPlace(widgetAt<Fl_Input>(window, 305, 249), {"ebOtherDrives", 304, 248, 121, 21});
  expectPlace(findWidget<Fl_Button>(window, "Browse"), {"btnBrowseListing", 368, 80, 75, 25});
  expectPlace(widgetAt<Fl_Group>(window, 57, 297), {"Panel1", 56, 296, 185, 65});
  expectPlace(findWidget<Fl_Round_Button>(window, "Zip archive"), {"rbZip", 72, 304, 113, 17});
  expectPlace(findWidget<Fl_Round_Button>(window, "Self Extracting archive"), {"rbSelfEx", 72, 328, 113, 17});
  expectPlace(findWidget<Fl_Button>(window, "OK"), {"btnOK", 296, 296, 75, 25});
  expectPlace(findWidget<Fl_Button>(window, "Cancel"), {"btnCancel", 296, 336, 75, 25});
  Fl_Box* label = findWidget<Fl_Box>(window, "( else I'll ask you to guide me to where they might be.)");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->x(), 64);
  EXPECT_EQ(label->y(), 224);
  EXPECT_FALSE(widgetAt<Fl_Input>(window, 57, 81)->active()) << "the listing path waits for its check box";
  EXPECT_FALSE(findWidget<Fl_Button>(window, "Browse")->active());
  EXPECT_EQ(findWidget<Fl_Round_Button>(window, "Zip archive")->value(), 1);
}

class WholeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ui::fltkDisplayAvailable()) GTEST_SKIP() << "no X display";
    Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
    std::filesystem::create_directories(corvane::testing::screenshotFolder());
    previousHook_ = platform::setEndProcessHook(throwProcessEnded);
    prefix_.addDrive('C');
    prefix_.writeFile("C:\\Family\\Photos\\me.jpg", "jpeg");
    prefix_.writeFile("C:\\Family\\Moved\\gone.jpg", "jpeg");  // where the disk search finds it
    corvane::testing::PafBuilder family;
    const int rin = family.addIndividual();
    family.addMediaLink(corvane::testing::paf::kOwnerIndividual, rin, "Photos\\me.jpg");
    family.addMediaLink(corvane::testing::paf::kOwnerIndividual, rin, "Photos\\gone.jpg");
    family.build().writeTo(prefix_.host("C:\\Family\\tree.paf"));
  }
  void TearDown() override {
    if (!IsSkipped()) platform::setEndProcessHook(previousHook_);
  }

  corvane::testing::TempPrefix prefix_;
  platform::EndProcessHook previousHook_ = nullptr;
};

TEST_F(WholeRun, OpenOptionsSearchDoneAndExit) {
  std::unique_ptr<vcl::Backend> windows = ui::makeFltkBackend();
  Watching watching(*windows);
  vcl::TApplication application;
  application.initialize();
  application.createForm(Form1);
  application.createForm(OptionForm);

  Script script;
  script
      .step("the main window", [] { return findWindow(kMainTitle) != nullptr; },
            [] {
              Fl_Window& window = *findWindow(kMainTitle);
              checkMainWindow(window);
              EXPECT_TRUE(corvane::testing::screenshot(window, shot("main-window.png")));
            })
      .pick(kMainTitle, {"&File", "&Open"})
      .chooseFile("PAF File Open", prefix_.host("C:\\Family\\tree.paf").string())
      .step("the options dialog", [] { return findWindow("Options") != nullptr; },
            [] {
              Fl_Window& window = *findWindow("Options");
              EXPECT_TRUE(window.modal());
              checkOptionsDialog(window);
              EXPECT_TRUE(corvane::testing::screenshot(window, shot("options-dialog.png")));
            })
      .click("Options", "Search entire disk to find missing files.")
      .click("Options", "Create Archive file")
      .check("no archive: no archive kind",
             [] { EXPECT_FALSE(findWidget<Fl_Round_Button>(*findWindow("Options"), "Zip archive")->active()); })
      .click("Options", "OK")
      .step("the \"Done!\" box", [] { return findWindow("-") != nullptr; },
            [] {
              Fl_Window& box = *findWindow("-");
              EXPECT_NE(findWidget<Fl_Box>(box, "Done!"), nullptr);
              EXPECT_TRUE(corvane::testing::screenshot(box, shot("done-box.png")));
              EXPECT_TRUE(corvane::testing::screenshot(*findWindow(kMainTitle), shot("main-window-after-run.png")));
            })
      .click("-", "OK")
      .pick(kMainTitle, {"&Help", "&About"})
      .step("the about box, titled with its caption", [] { return findWindow("About Corvane") != nullptr; },
            [] { EXPECT_TRUE(corvane::testing::screenshot(*findWindow("About Corvane"), shot("about-box.png"))); })
      .click("About Corvane", "OK")
      .pick(kMainTitle, {"&File", "E&xit"});
  script.start();
  try {
    application.run();
  } catch (const ProcessEnded& ended) {
    FAIL() << "the process ended with status " << ended.status << " at: " << script.waitingFor();
  }
  EXPECT_TRUE(script.finished()) << script.waitingFor();
  EXPECT_TRUE(application.terminated());

  EXPECT_EQ(Form1->databasePath, "C:\\Family\\tree.paf");
  // While the search ran, the memo listed the found file, then the missing one.
  EXPECT_EQ(watching.memoDuringSearch,
            "Photos\\me.jpg\n\nThe following multimedia files were\nnot found.\n\nPhotos\\gone.jpg\n referenced from Rin 1;\n");
  EXPECT_EQ(watching.memoShownDuringSearch, watching.memoDuringSearch) << "the text area shows the model's text";

  EXPECT_NE(watching.progressCaption.find("C:\\"), std::string::npos) << watching.progressCaption;
  EXPECT_GT(watching.statusDark, 50) << "\"Searching for missing files\" shown during the search";
  EXPECT_GT(watching.progressDark, 10) << "the path line shown during the search";
  Form1 = nullptr;
  OptionForm = nullptr;
}

}  // namespace
