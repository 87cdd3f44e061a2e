// Message boxes and file dialogs as windows: captions, buttons, answers, and the Windows paths
// that go in and come out of FLTK's file chooser.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Window.H>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/fltk/FltkBackend.h"
#include "platform/vcl/Dialogs.h"
#include "tests/platform/fltk/Driver.h"
#include "tests/support/TempFolder.h"

namespace {

using corvane::testing::findWidget;
using corvane::testing::findWindow;
using corvane::testing::Script;
using corvane::testing::widgetsOf;

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ui::fltkDisplayAvailable()) GTEST_SKIP() << "no X display";
    // FLTK's own chooser, which a test can drive, even where a desktop's would be used.
    Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
    backend_ = ui::makeFltkBackend();
  }

 private:
  std::unique_ptr<vcl::Backend> backend_;
};

TEST_F(Dialogs, MessageBoxShowsCaptionTextAndButtonsWithoutIconAndAnswers) {
  struct Case {
    const char* what;
    unsigned buttons;
    const char* action;  // a button's label, or "close" for the close box
    int answer;
  };
  const Case cases[] = {
      {"OK", vcl::MB_OK, "OK", vcl::IDOK},
      {"OK box closed", vcl::MB_OK, "close", vcl::IDOK},
      {"OK of two", vcl::MB_OKCANCEL, "OK", vcl::IDOK},
      {"Cancel", vcl::MB_OKCANCEL, "Cancel", vcl::IDCANCEL},
      {"OK/Cancel box closed", vcl::MB_OKCANCEL, "close", vcl::IDCANCEL},
  };
  const std::string text = "Search Other Drives was specified but\nno other drive letters supplied.\nmail@home";
  for (const Case& c : cases) {
    Script script;
    script.check(c.what, [&] {
      Fl_Window* box = findWindow("Whoops!");
      ASSERT_NE(box, nullptr) << c.what;
      EXPECT_TRUE(box->modal());
      ASSERT_NE(findWidget<Fl_Box>(*box, text.substr(0, text.size() - 9) + "mail@@home"), nullptr)
          << c.what << ": the text as given, \"@\" shown as itself";
      const std::vector<Fl_Button*> buttons = widgetsOf<Fl_Button>(*box);
      EXPECT_EQ(widgetsOf<Fl_Widget>(*box).size(), buttons.size() + 1) << c.what << ": no icon";
      ASSERT_EQ(buttons.size(), c.buttons == vcl::MB_OKCANCEL ? 2u : 1u) << c.what;
      EXPECT_STREQ(buttons[0]->label(), "OK");
      if (buttons.size() == 2) {
        EXPECT_STREQ(buttons[1]->label(), "Cancel");
        EXPECT_LT(buttons[0]->x(), buttons[1]->x()) << "OK on the left";
        EXPECT_EQ(buttons[0]->y(), buttons[1]->y());
      }
      EXPECT_GT(box->w(), 2 * buttons.back()->w());
    });
    if (std::string(c.action) == "close") {
      script.closeBox("Whoops!");
    } else {
      script.click("Whoops!", c.action);
    }
    script.start();
    EXPECT_EQ(vcl::MessageBox(text, "Whoops!", c.buttons), c.answer) << c.what;
    EXPECT_TRUE(script.finished()) << c.what << ": " << script.waitingFor();
    EXPECT_EQ(findWindow("Whoops!"), nullptr) << c.what;
  }
}

class FileDialogs : public Dialogs {
 protected:
  void SetUp() override {
    Dialogs::SetUp();
    if (IsSkipped()) return;
    prefix_.addDrive('C');
    prefix_.writeFile("C:\\Family\\smith.paf", "paf");
    prefix_.writeFile("C:\\Family\\notes.ged", "ged");
  }
  std::string host(const std::string& windowsPath) const { return prefix_.host(windowsPath).string(); }

  corvane::testing::TempPrefix prefix_;
};

// The file name field of the chooser of that title, once it is up.
Fl_File_Input* nameField(const std::string& title) {
  Fl_Window* window = findWindow(title);
  if (window == nullptr) return nullptr;
  std::vector<Fl_File_Input*> fields = widgetsOf<Fl_File_Input>(*window);
  return fields.empty() ? nullptr : fields.front();
}

TEST_F(FileDialogs, OpenDialogTakesFolderAndFilterAndGivesTheWindowsPath) {
  vcl::TOpenDialog dialog(nullptr, "OpenDialog1");
  dialog.setTitle("PAF File Open");
  dialog.setFilter("PAF Files|*.paf|GEDCOM|*.ged");
  dialog.setDefaultExt(".paf");
  dialog.setInitialDir("C:\\Family\\");
  dialog.setOptions(vcl::ofHideReadOnly | vcl::ofFileMustExist);

  Script script;
  script
      .step("the chooser opens in the initial folder with both filters",
            [] { return nameField("PAF File Open") != nullptr; },
            [&] {
              Fl_Window& window = *findWindow("PAF File Open");
              std::vector<Fl_Choice*> choices = widgetsOf<Fl_Choice>(window);
              ASSERT_FALSE(choices.empty());
              EXPECT_EQ(choices.front()->value(), 0);
              EXPECT_STREQ(choices.front()->text(0), "PAF Files(*.paf)");
              EXPECT_STREQ(choices.front()->text(1), "GEDCOM(*.ged)");
              EXPECT_EQ(std::string(nameField("PAF File Open")->value()).rfind(host("C:\\Family"), 0), 0u)
                  << nameField("PAF File Open")->value();
              choices.front()->value(1);  // GEDCOM
              choices.front()->do_callback();
            })
      .chooseFile("PAF File Open", host("C:\\Family\\notes.ged"));
  script.start();
  ASSERT_TRUE(dialog.execute());
  EXPECT_TRUE(script.finished()) << script.waitingFor();
  EXPECT_EQ(dialog.fileName(), "C:\\Family\\notes.ged");
  EXPECT_EQ(dialog.filterIndex(), 2);

  // A file that does not exist: told so, and asked again; then cancelled.
  Script again;
  again.chooseFile("PAF File Open", host("C:\\Family") + "/gone.paf")
      .check("told",
             [] {
               Fl_Window* box = findWindow("PAF File Open");
               ASSERT_NE(box, nullptr);
               EXPECT_NE(findWidget<Fl_Box>(*box, "C:\\Family\\gone.paf\nFile not found.\nPlease verify the correct file name was given."),
                         nullptr);
             })
      .click("PAF File Open", "OK")
      .step("asked again", [] { return nameField("PAF File Open") != nullptr; }, [] {})
      .click("PAF File Open", "Cancel");
  again.start();
  EXPECT_FALSE(dialog.execute());
  EXPECT_TRUE(again.finished()) << again.waitingFor();
  EXPECT_EQ(dialog.fileName(), "C:\\Family\\notes.ged") << "a cancelled dialog changes nothing";
}

TEST_F(FileDialogs, SaveDialogPresetsTheFileAsksBeforeReplacingAndAddsTheExtension) {
  vcl::TSaveDialog dialog(nullptr, "SaveDialog1");
  dialog.setDefaultExt("*.txt");
  dialog.setFilter("Text File|*.txt");
  dialog.setOptions(vcl::ofOverwritePrompt | vcl::ofHideReadOnly | vcl::ofEnableSizing);
  dialog.setFileName("C:\\Family\\smith_listing.txt");

  Script script;
  script
      .step("the chooser shows the preset file in its folder", [] { return nameField("Save As") != nullptr; },
            [&] { EXPECT_STREQ(nameField("Save As")->value(), (host("C:\\Family") + "/smith_listing.txt").c_str()); })
      .chooseFile("Save As", host("C:\\Family\\notes.ged"))
      .check("asked before replacing",
             [] {
               Fl_Window* box = findWindow("Save As");
               ASSERT_NE(box, nullptr);
               EXPECT_NE(findWidget<Fl_Box>(*box, "C:\\Family\\notes.ged already exists.\nDo you want to replace it?"), nullptr);
             })
      .click("Save As", "Cancel")
      .step("asked again", [] { return nameField("Save As") != nullptr; }, [] {})
      .chooseFile("Save As", host("C:\\Family") + "/out");
  script.start();
  ASSERT_TRUE(dialog.execute());
  EXPECT_TRUE(script.finished()) << script.waitingFor();
  EXPECT_EQ(dialog.fileName(), "C:\\Family\\out.txt");
  EXPECT_EQ(dialog.filterIndex(), 1);
}

}  // namespace
