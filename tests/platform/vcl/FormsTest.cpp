// Forms, the application object and timers, driven through the test backend.
#include <gtest/gtest.h>

#include "platform/ui/test/TestBackend.h"
#include "tests/platform/vcl/SampleForms.h"

namespace {

using corvane::testing::SampleDialog;
using corvane::testing::SampleMainForm;

TEST(ModalForm, EndsWithTheResultOfWhatTheUserDid) {
  struct Case {
    const char* what;
    std::vector<std::string> clicks;  // "close" for the close box
    vcl::TModalResult result;
    std::string drives;
  };
  const Case cases[] = {
      {"OK whose handler closes the form", {"btnOK"}, vcl::mrCancel, "DE"},
      {"a button with a modal result", {"btnCancel"}, vcl::mrCancel, ""},
      {"the close box", {"close"}, vcl::mrCancel, ""},
  };
  for (const Case& c : cases) {
    ui::TestBackend ui;
    SampleDialog dialog(nullptr);
    ui.type("ebOtherDrives", "DE");
    for (const std::string& step : c.clicks) step == "close" ? ui.closeBox() : ui.click(step);

    EXPECT_EQ(dialog.showModal(), c.result) << c.what;
    EXPECT_EQ(dialog.drivesOnOk, c.drives) << c.what;
    EXPECT_FALSE(dialog.visible()) << c.what;
    EXPECT_TRUE(ui.unusedSteps().empty()) << c.what;
    ASSERT_EQ(ui.shown().size(), 1u) << c.what;
    EXPECT_EQ(ui.shown()[0].describe(), "modal form SampleDialog \"Options\"");
  }
}

TEST(ModalForm, StaysOpenThroughAMessageBoxAndKeepsItsControlsForTheNextShow) {
  ui::TestBackend ui;
  SampleDialog dialog(nullptr);
  ui.click("btnOK").press(vcl::IDOK);            // empty drives: "Whoops!", the form stays
  ui.type("ebOtherDrives", "D").click("btnOK");  // then it passes
  dialog.showModal();
  EXPECT_EQ(dialog.drivesOnOk, "D");
  EXPECT_EQ(ui.shown(ui::Shown::Kind::MessageBox).at(0).caption, "Whoops!");

  ui.click("cbToFile").closeBox();
  dialog.showModal();
  ui.closeBox();
  dialog.showModal();
  EXPECT_TRUE(dialog.cbToFile->checked()) << "controls keep their state from one showing to the next";
  EXPECT_EQ(dialog.ebOtherDrives->text(), "D");
}

TEST(ModalForm, ClickOnADisabledControlOrAnUnknownNameFailsTheTest) {
  for (const char* name : {"rbSelfEx", "btnNowhere"}) {
    ui::TestBackend ui;
    SampleDialog dialog(nullptr);
    dialog.cbCreateArchive->setChecked(false);  // disables both radio buttons
    ui.click(name);
    EXPECT_THROW(dialog.showModal(), ui::UnexpectedPrompt) << name;
    EXPECT_FALSE(dialog.visible()) << "a failed modal loop leaves the form hidden";
  }
}

TEST(ModalForm, ScriptWithoutStepForItFailsNamingTheForm) {
  ui::TestBackend ui;
  SampleDialog dialog(nullptr);
  try {
    dialog.showModal();
    FAIL() << "no exception";
  } catch (const ui::UnexpectedPrompt& e) {
    EXPECT_NE(std::string(e.what()).find("modal form SampleDialog \"Options\" waits for input"), std::string::npos)
        << e.what();
  }
}

TEST(ModalForm, ShowingAVisibleFormModallyIsRefused) {
  ui::TestBackend ui;
  SampleDialog dialog(nullptr);
  dialog.show();
  EXPECT_THROW(dialog.showModal(), vcl::Exception);
}

TEST(Form, ResizeEventFollowsSizeChangesOnly) {
  SampleMainForm form(nullptr);
  int resizes = 0;
  form.OnResize = [&] {
    ++resizes;
    form.Memo1->setBounds({8, 32, form.width() - 20, form.height() - 90});
  };
  form.setBounds({192, 114, 600, 500});
  EXPECT_EQ(form.Memo1->bounds(), (vcl::Bounds{8, 32, 580, 410}));
  form.setBounds({0, 0, 600, 500});  // moved, same size
  EXPECT_EQ(resizes, 1);
}

TEST(Application, FirstFormIsTheMainWindowAndClosingItEndsTheLoop) {
  ui::TestBackend ui;
  vcl::TApplication app;
  SampleMainForm* Form1 = nullptr;
  SampleDialog* OptionForm = nullptr;
  app.createForm(Form1);
  app.createForm(OptionForm);
  EXPECT_EQ(vcl::Application, &app);
  EXPECT_EQ(app.mainForm(), Form1);
  EXPECT_EQ(Form1->Memo1->text(), "Welcome.\n") << "OnCreate ran";
  EXPECT_FALSE(OptionForm->visible());

  ui.click("Exit1").click("Open1");
  app.run();

  EXPECT_TRUE(app.terminated());
  EXPECT_FALSE(Form1->visible());
  EXPECT_EQ(ui.unusedSteps(), (std::vector<std::string>{"click Open1"})) << "nothing runs after the close";
  EXPECT_EQ(ui.shown().at(0).describe(), "form Form1 \"Sample\"");
}

TEST(Application, ExceptionDisplayAddsAFullStopAfterALetterOnly) {
  ui::TestBackend ui;
  vcl::TApplication app;
  app.setTitle("Corvane");
  ui.press(vcl::IDOK).press(vcl::IDOK).press(vcl::IDOK);
  app.showException(vcl::Exception("Out of memory"));
  app.showException(vcl::Exception("Failed!"));
  app.showException(vcl::Exception("Done."));

  const std::vector<ui::Shown> boxes = ui.shown(ui::Shown::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "Out of memory.");
  EXPECT_EQ(boxes[0].caption, "Corvane");
  EXPECT_EQ(boxes[1].text, "Failed!");
  EXPECT_EQ(boxes[2].text, "Done.");
}

TEST(Timer, TicksOnlyWhileEnabledWithAnInterval) {
  ui::TestBackend ui;
  SampleMainForm form(nullptr);  // its timer starts disabled
  EXPECT_EQ(ui.tickTimers(), 0);
  EXPECT_EQ(form.ticks, 0);

  form.Timer1->setInterval(500);
  form.Timer1->setEnabled(true);
  EXPECT_EQ(ui.tickTimers(), 1);
  EXPECT_EQ(ui.tickTimers(), 1);
  EXPECT_EQ(form.ticks, 2);

  form.Timer1->setInterval(0);  // as the handler does before it reports
  EXPECT_EQ(ui.tickTimers(), 0);
  form.Timer1->setInterval(500);
  form.Timer1->setEnabled(false);
  EXPECT_EQ(ui.tickTimers(), 0);
  EXPECT_EQ(form.ticks, 2);
}

TEST(Timer, HandlerThatStopsItselfAndShowsABoxGetsNoSecondTick) {
  ui::TestBackend ui;
  vcl::TApplication app;
  SampleMainForm* form = nullptr;
  app.createForm(form);
  form->Timer1->setInterval(500);
  form->Timer1->setEnabled(true);
  form->Timer1->OnTimer = [form] {
    ++form->ticks;
    form->Timer1->setEnabled(false);
    vcl::MessageBox("C:\\Family\\tree.zip has been created.", "Done", vcl::MB_OK);
    form->close();
  };

  ui.tick().press(vcl::IDOK).tick();
  app.run();

  EXPECT_EQ(form->ticks, 1);
  EXPECT_TRUE(app.terminated());
  EXPECT_EQ(ui.unusedSteps(), (std::vector<std::string>{"tick"}));
}

TEST(Timer, DestroyedTimerIsNotTicked) {
  ui::TestBackend ui;
  auto form = std::make_unique<SampleMainForm>(nullptr);
  form->Timer1->setEnabled(true);
  form.reset();
  EXPECT_EQ(ui.tickTimers(), 0);
}

}  // namespace
