// Forms as real windows: widgets at the model's places, clicks and typing through the model,
// the menu bar, timers, repainting at once, the close box, resizing and screenshots.
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

#include "platform/ui/fltk/FltkBackend.h"
#include "tests/platform/fltk/Driver.h"
#include "tests/platform/vcl/SampleForms.h"

namespace {

using corvane::testing::findWidget;
using corvane::testing::findWindow;
using corvane::testing::SampleDialog;
using corvane::testing::SampleMainForm;
using corvane::testing::Script;
using corvane::testing::widgetAt;
using corvane::testing::widgetsOf;

constexpr int kMenuBar = 19;

class Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ui::fltkDisplayAvailable()) GTEST_SKIP() << "no X display";
    backend_ = ui::makeFltkBackend();
  }
  // Lets the server show the windows and FLTK draw them.
  static void settle() {
    for (Fl_Window* w = Fl::first_window(); w != nullptr; w = Fl::next_window(w)) w->wait_for_expose();
    Fl::flush();
  }

 private:
  std::unique_ptr<vcl::Backend> backend_;
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
  EXPECT_EQ(widget->labelsize(), 11) << p.what << ": the forms' 8-point face";
}

TEST_F(Forms, DialogWidgetsSitAtTheModelsPlaces) {
  SampleDialog dialog(nullptr);
  dialog.show();
  settle();
  Fl_Window* window = findWindow("Options");
  ASSERT_NE(window, nullptr);
  // Outer 514 x 421 on a sizable frame: 4 on each side, 19 of caption.
  EXPECT_EQ(window->x(), 192);
  EXPECT_EQ(window->y(), 114);
  EXPECT_EQ(window->w(), 514 - 8);
  EXPECT_EQ(window->h(), 421 - 8 - 19);

  expectPlace(findWidget<Fl_Check_Button>(*window, "Write the listing to a file."), {"cbToFile", 56, 56, 161, 17});
  expectPlace(findWidget<Fl_Check_Button>(*window, "Create Archive file"), {"cbCreateArchive", 40, 272, 129, 17});
  expectPlace(widgetAt<Fl_Input>(*window, 304 + 1, 248 + 1), {"ebOtherDrives", 304, 248, 121, 21});
  expectPlace(widgetAt<Fl_Group>(*window, 56 + 1, 296 + 1), {"Panel1", 56, 296, 185, 65});
  // Inside the panel: its place plus the button's.
  expectPlace(findWidget<Fl_Round_Button>(*window, "Zip archive"), {"rbZip", 56 + 16, 296 + 8, 113, 17});
  expectPlace(findWidget<Fl_Round_Button>(*window, "Self Extracting archive"), {"rbSelfEx", 56 + 16, 296 + 32, 113, 17});
  expectPlace(findWidget<Fl_Button>(*window, "OK"), {"btnOK", 296, 296, 75, 25});
  expectPlace(findWidget<Fl_Button>(*window, "Cancel"), {"btnCancel", 296, 336, 75, 25});
  EXPECT_EQ(findWidget<Fl_Round_Button>(*window, "Zip archive")->parent(), widgetAt<Fl_Group>(*window, 57, 297))
      << "the radio buttons sit in the panel's group";
  EXPECT_EQ(findWidget<Fl_Check_Button>(*window, "Create Archive file")->value(), 1) << "initial state";

  std::filesystem::create_directories(corvane::testing::screenshotFolder());
  const std::string png = corvane::testing::screenshotFolder() + "/sample-dialog.png";
  EXPECT_TRUE(corvane::testing::screenshot(*window, png));
  EXPECT_GT(std::filesystem::file_size(png), 0u);
  dialog.hide();
}

TEST_F(Forms, ClicksAndTypingGoThroughTheModelAndItsHandlers) {
  SampleDialog dialog(nullptr);
  Script script;
  script.click("Options", "Write the listing to a file.")
      .check("the handlers ran and the widgets follow",
             [&] {
               Fl_Window& window = *findWindow("Options");
               EXPECT_TRUE(dialog.cbToFile->checked());
               EXPECT_FALSE(dialog.cbCreateArchive->checked());
               EXPECT_EQ(findWidget<Fl_Check_Button>(window, "Create Archive file")->value(), 0);
               EXPECT_FALSE(findWidget<Fl_Round_Button>(window, "Zip archive")->active());
               EXPECT_FALSE(findWidget<Fl_Round_Button>(window, "Self Extracting archive")->active());
             })
      .click("Options", "OK")  // no drive letters: a message box, the form stays
      .check("the message box",
             [] {
               Fl_Window* box = findWindow("Whoops!");
               ASSERT_NE(box, nullptr);
               ASSERT_NE(findWidget<Fl_Box>(*box, "No drive letters."), nullptr);
               EXPECT_EQ(widgetsOf<Fl_Button>(*box).size(), 1u) << "OK only";
               EXPECT_EQ(widgetsOf<Fl_Widget>(*box).size(), 2u) << "text and button, no icon";
             })
      .click("Whoops!", "OK")
      .waitGone("Whoops!")
      .type("Options", 304 + 1, 248 + 1, "DE")
      .click("Options", "OK");
  script.start();
  EXPECT_EQ(dialog.showModal(), vcl::mrCancel) << "OK's handler closes the form";
  EXPECT_TRUE(script.finished()) << script.waitingFor();
  EXPECT_EQ(dialog.drivesOnOk, "DE");
  EXPECT_EQ(dialog.clicks, (std::vector<std::string>{"cbToFileClick", "cbCreateArchiveClick"}));
  EXPECT_EQ(findWindow("Options"), nullptr) << "hidden again";
}

TEST_F(Forms, RadioButtonsExcludeEachOtherWithinTheirPanelOnly) {
  SampleDialog dialog(nullptr);
  auto* rbOutside = new vcl::TRadioButton(&dialog, "rbOutside", {300, 380, 120, 17}, "On the form");
  rbOutside->setChecked(true);
  struct Case {
    const char* click;
    int zip, selfEx;
  };
  const Case cases[] = {
      {"Self Extracting archive", 0, 1},
      {"Self Extracting archive", 0, 1},
      {"Zip archive", 1, 0},
  };
  Script script;
  for (const Case& c : cases) {
    script.click("Options", c.click).check(c.click, [&, c] {
      Fl_Window& window = *findWindow("Options");
      EXPECT_EQ(dialog.rbZip->checked(), c.zip == 1) << c.click;
      EXPECT_EQ(dialog.rbSelfEx->checked(), c.selfEx == 1) << c.click;
      EXPECT_EQ(findWidget<Fl_Round_Button>(window, "Zip archive")->value(), c.zip) << c.click;
      EXPECT_EQ(findWidget<Fl_Round_Button>(window, "Self Extracting archive")->value(), c.selfEx) << c.click;
      EXPECT_TRUE(rbOutside->checked()) << "a radio button on another parent stays";
      EXPECT_EQ(findWidget<Fl_Round_Button>(window, "On the form")->value(), 1);
    });
  }
  script.click("Options", "Cancel");
  script.start();
  EXPECT_EQ(dialog.showModal(), vcl::mrCancel);
  EXPECT_TRUE(script.finished()) << script.waitingFor();
}

TEST_F(Forms, CloseBoxEndsAModalFormButEscapeOnlyPressesACancelButton) {
  struct Case {
    const char* what;
    bool cancelButton;
    bool escapeEnds;
  };
  const Case cases[] = {{"no cancel button", false, false}, {"Cancel is the cancel button", true, true}};
  for (const Case& c : cases) {
    SampleDialog dialog(nullptr);
    dialog.btnCancel->setCancel(c.cancelButton);
    Script script;
    script.step("Escape", [] { return findWindow("Options") != nullptr; }, [] {
      static char escape[] = "\033";
      Fl::e_keysym = FL_Escape;
      Fl::e_state = 0;
      Fl::e_text = escape;
      Fl::e_length = 1;
      Fl::handle(FL_KEYBOARD, findWindow("Options"));
    });
    if (!c.escapeEnds) {
      script.check("still open", [&] { EXPECT_EQ(dialog.modalResult(), vcl::mrNone) << c.what; })
          .closeBox("Options");
    }
    script.start();
    EXPECT_EQ(dialog.showModal(), vcl::mrCancel) << c.what;
    EXPECT_TRUE(script.finished()) << c.what << ": " << script.waitingFor();
  }
}

TEST_F(Forms, MainWindowMenuTimerAndCloseBox) {
  vcl::TApplication app;
  SampleMainForm* form = nullptr;
  app.createForm(form);
  // A recent file whose path FLTK's menu text syntax would read otherwise: "/" opens a
  // submenu, "\" escapes, a leading "_" draws a divider, "@" starts a symbol.
  form->mru1->setCaption("_D:\\a/b@c.paf");
  auto* hidden = new vcl::TMenuItem(form->File1, "mru2", "C:\\hidden.paf");
  hidden->setVisible(false);
  form->Timer1->setInterval(20);

  Script script;
  script
      .check("the window and its menu",
             [&] {
               Fl_Window* window = findWindow("Sample");
               ASSERT_NE(window, nullptr);
               EXPECT_EQ(window->w(), 469 - 8);
               EXPECT_EQ(window->h(), 379 - 8 - 19);
               Fl_Menu_Bar* bar = widgetsOf<Fl_Menu_Bar>(*window).at(0);
               expectPlace(bar, {"menu bar", 0, 0, 469 - 8, kMenuBar});
               const Fl_Menu_Item* file = corvane::testing::menuItem(*bar, {"&File"});
               ASSERT_NE(file, nullptr);
               std::vector<std::string> labels;
               for (const Fl_Menu_Item* item = file + 1; item->text != nullptr; item = item->next()) labels.push_back(item->text);
               EXPECT_EQ(labels, (std::vector<std::string>{"&Open", "_&D:\\a/b@@c.paf", "E&xit"}))
                   << "the path whole, an accelerator added, \"@\" doubled to show as itself, the hidden item left out";
               // Below the menu bar: the model's client area.
               expectPlace(widgetAt<Fl_Text_Display>(*window, 9, 33 + kMenuBar), {"Memo1", 8, 32 + kMenuBar, 449, 289});
             })
      .pick("Sample", {"&File", "_&D:\\a/b@@c.paf"})
      .check("the handler got the path", [&] { EXPECT_EQ(form->pathFromMenu, "_D:\\a/b@c.paf"); })
      .check("the memo shows the model's text",
             [&] {
               auto* memo = widgetsOf<Fl_Text_Display>(*findWindow("Sample")).at(0);
               char* text = memo->buffer()->text();
               EXPECT_STREQ(text, "Welcome.\n");
               std::free(text);
             })
      .check("start the timer", [&] { form->Timer1->setEnabled(true); })
      .step("three ticks", [&] { return form->ticks >= 3; }, [&] { form->Timer1->setEnabled(false); })
      .closeBox("Sample");
  script.start();
  app.run();
  EXPECT_TRUE(script.finished()) << script.waitingFor();
  EXPECT_TRUE(app.terminated()) << "the main window's close box ends the application";
  EXPECT_FALSE(form->visible());
}

TEST_F(Forms, ResizingTheWindowResizesTheFormAndItsHandlerPlacesTheMemo) {
  SampleMainForm form(nullptr);
  form.show();
  settle();
  Fl_Window* window = findWindow("Sample");
  ASSERT_NE(window, nullptr);
  window->resize(window->x(), window->y(), 600 - 8, 500 - 8 - 19);  // as the window manager does
  EXPECT_EQ(form.width(), 600);
  EXPECT_EQ(form.height(), 500);
  expectPlace(widgetAt<Fl_Text_Display>(*window, 9, 33 + kMenuBar), {"Memo1", 8, 32 + kMenuBar, 580, 410});
  EXPECT_EQ(widgetsOf<Fl_Menu_Bar>(*window).at(0)->w(), 600 - 8) << "the menu bar spans the window";

  form.setBounds({100, 50, 469, 379});  // and back, from the model
  EXPECT_EQ(window->w(), 469 - 8);
  EXPECT_EQ(window->x(), 100);
  form.hide();
}

TEST_F(Forms, LabelRepaintedAtOnceInsideAComputation) {
  SampleMainForm form(nullptr);
  form.show();
  settle();
  Fl_Window& window = *findWindow("Sample");
  // Label2 at 3, 0 below the menu bar; its caption reaches past its 33 pixels.
  const int x = 3, y = kMenuBar, w = 200, h = 13;
  ASSERT_EQ(corvane::testing::darkPixels(window, x, y, w, h), 0) << "blanks";

  form.Label2->setCaption("Searching for missing files");
  EXPECT_EQ(corvane::testing::darkPixels(window, x, y, w, h), 0) << "not drawn before the loop runs";
  form.Label2->repaint();
  const int drawn = corvane::testing::darkPixels(window, x, y, w, h);
  EXPECT_GT(drawn, 50) << "drawn at once, without the event loop";
  EXPECT_GT(corvane::testing::darkPixels(window, x + 100, y, 100, h), 0) << "past the label's own width";

  form.Label2->setCaption("Done");
  form.Label2->repaint();
  EXPECT_EQ(corvane::testing::darkPixels(window, x + 60, y, w - 60, h), 0) << "the longer text is wiped";
  form.hide();
}

TEST_F(Forms, TypingWhatCodePage1252CannotHoldIsRefused) {
  SampleDialog dialog(nullptr);
  dialog.ebOtherDrives->setText("D\xE9");  // é
  Script script;
  script
      .check("the widget shows the model's text in UTF-8",
             [] { EXPECT_STREQ(widgetAt<Fl_Input>(*findWindow("Options"), 305, 249)->value(), "D\xC3\xA9"); })
      .type("Options", 305, 249, "\xCE\xA9")  // Ω: no 1252 byte
      .check("refused",
             [&] {
               EXPECT_EQ(dialog.ebOtherDrives->text(), "D\xE9");
               EXPECT_STREQ(widgetAt<Fl_Input>(*findWindow("Options"), 305, 249)->value(), "D\xC3\xA9");
             })
      .type("Options", 305, 249, "\xE2\x82\xAC")  // €: 0x80 in 1252
      .check("taken", [&] { EXPECT_EQ(dialog.ebOtherDrives->text(), "\x80"); })
      .closeBox("Options");
  script.start();
  dialog.showModal();
  EXPECT_TRUE(script.finished()) << script.waitingFor();
}

TEST_F(Forms, ExceptionInAHandlerLeavesTheLoopThatWaits) {
  SampleDialog dialog(nullptr);
  dialog.btnOK->OnClick = [] { throw vcl::Exception("Disk full"); };
  Script script;
  script.click("Options", "OK");
  script.start();
  EXPECT_THROW(dialog.showModal(), vcl::Exception);
  EXPECT_FALSE(dialog.visible());
  EXPECT_EQ(findWindow("Options"), nullptr);
}

TEST_F(Forms, DestroyingAFormTakesItsWindowAway) {
  auto dialog = std::make_unique<SampleDialog>(nullptr);
  dialog->show();
  settle();
  ASSERT_NE(findWindow("Options"), nullptr);
  dialog.reset();
  settle();
  EXPECT_EQ(findWindow("Options"), nullptr);
}

}  // namespace
