// Message boxes and file dialogs through the test backend: answers, what is recorded, and the
// state a dialog keeps between executions.
#include <gtest/gtest.h>

#include "platform/ui/test/TestBackend.h"
#include "platform/vcl/Dialogs.h"
#include "tests/support/TempFolder.h"

namespace {

struct BoxCase {
  unsigned buttons;
  bool closeBox;
  int press;
  int expected;  // 0: the script does not fit the box
};

TEST(MessageBox, ReturnsTheButtonTheScriptPresses) {
  const BoxCase cases[] = {
      {vcl::MB_OK, false, vcl::IDOK, vcl::IDOK},
      {vcl::MB_OKCANCEL, false, vcl::IDOK, vcl::IDOK},
      {vcl::MB_OKCANCEL, false, vcl::IDCANCEL, vcl::IDCANCEL},
      {vcl::MB_OKCANCEL, true, 0, vcl::IDCANCEL},  // closing the box is Cancel
      {vcl::MB_OK, true, 0, vcl::IDOK},            // ... or OK when there is no Cancel
      {vcl::MB_OK, false, vcl::IDCANCEL, 0},       // no Cancel button to press
  };
  for (const BoxCase& c : cases) {
    ui::TestBackend ui;
    c.closeBox ? ui.closeBox() : ui.press(c.press);
    if (c.expected == 0) {
      EXPECT_THROW(vcl::MessageBox("text", "Guide Me", c.buttons), ui::UnexpectedPrompt);
      continue;
    }
    EXPECT_EQ(vcl::MessageBox("text", "Guide Me", c.buttons), c.expected);
  }
}

TEST(MessageBox, RecordsExactTextCaptionAndButtons) {
  ui::TestBackend ui;
  ui.press(vcl::IDOK);
  const std::string text = "An error has occurred.\n    (You need to shut down PAF before you run\n      this program.)";
  vcl::MessageBox(text, "Error", vcl::MB_OK);

  ASSERT_EQ(ui.shown().size(), 1u);
  const ui::Shown& box = ui.shown()[0];
  EXPECT_EQ(box.kind, ui::Shown::Kind::MessageBox);
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.buttons, vcl::MB_OK);
  EXPECT_EQ(box.answer, "OK");
}

TEST(MessageBox, UnforeseenBoxFailsWithItsCaptionAndText) {
  ui::TestBackend ui;
  ui.cancel();  // a dialog answer, where a box comes
  try {
    vcl::MessageBox("Some files could not be found.", "Warning", vcl::MB_OK);
    FAIL() << "no exception";
  } catch (const ui::UnexpectedPrompt& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("message box \"Warning\": \"Some files could not be found.\" [OK]"), std::string::npos)
        << message;
    EXPECT_NE(message.find("Next in the script: cancel"), std::string::npos) << message;
  }
}

TEST(MessageBox, WithoutAnyBackendThrows) {
  EXPECT_THROW(vcl::MessageBox("text", "caption", vcl::MB_OK), std::logic_error);
}

TEST(MessageBox, OtherButtonSetsAreRefused) {
  ui::TestBackend ui;
  EXPECT_THROW(vcl::MessageBox("text", "caption", 0x3), std::invalid_argument);
}

TEST(FileDialog, KeepsFilterAndFileNameBetweenExecutionsAndChangesOnlyOnConfirm) {
  corvane::testing::TempPrefix prefix;
  prefix.addDrive('C');
  prefix.writeFile("C:\\Family\\tree.paf", "x");
  prefix.writeFile("C:\\Family\\a.jpg", "x");

  ui::TestBackend ui;
  vcl::TOpenDialog dialog(nullptr, "OpenDialog1");
  dialog.setFilter("PAF Files|*.paf|GEDCOM|*.ged");
  dialog.setDefaultExt(".paf");
  dialog.setTitle("PAF File Open");
  dialog.setOptions(vcl::ofHideReadOnly | vcl::ofFileMustExist | vcl::ofEnableSizing);
  dialog.setInitialDir("C:\\Family\\");

  ui.cancel();
  EXPECT_FALSE(dialog.execute());
  EXPECT_EQ(dialog.fileName(), "");

  ui.pick("C:\\Family\\tree.paf");
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.fileName(), "C:\\Family\\tree.paf");
  EXPECT_EQ(dialog.filterIndex(), 1);

  // The guided search sets another filter and a pattern as file name, then shows it in a loop.
  dialog.setFilter("MultiMedia Files|*.jpg;*.tif");
  dialog.setFileName("*.jpg;*.tif");
  ui.pick("C:\\Family\\a.jpg").cancel();
  EXPECT_TRUE(dialog.execute());
  EXPECT_FALSE(dialog.execute());
  EXPECT_EQ(dialog.fileName(), "C:\\Family\\a.jpg") << "a cancel keeps the last file";
  EXPECT_EQ(dialog.filter(), "MultiMedia Files|*.jpg;*.tif");

  const std::vector<ui::Shown> shown = ui.shown(ui::Shown::Kind::OpenDialog);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].caption, "PAF File Open");
  EXPECT_EQ(shown[0].initialDir, "C:\\Family\\");
  EXPECT_EQ(shown[2].filter, "MultiMedia Files|*.jpg;*.tif");
  EXPECT_EQ(shown[2].fileName, "*.jpg;*.tif");
  EXPECT_EQ(shown[3].fileName, "C:\\Family\\a.jpg");
  EXPECT_EQ(shown[3].answer, "Cancel");
}

TEST(FileDialog, SecondFilterPickedIsKeptAsFilterIndex) {
  corvane::testing::TempPrefix prefix;
  prefix.addDrive('C');
  prefix.writeFile("C:\\Family\\tree.ged", "0 HEAD");
  ui::TestBackend ui;
  vcl::TOpenDialog dialog(nullptr, "OpenDialog1");
  dialog.setFilter("PAF Files|*.paf|GEDCOM|*.ged");
  ui.pick("C:\\Family\\tree.ged", 2);
  ASSERT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.filterIndex(), 2);
}

TEST(FileDialog, OpenDialogForExistingFilesRefusesAMissingOneButSaveDialogTakesIt) {
  corvane::testing::TempPrefix prefix;
  prefix.addDrive('C');
  ui::TestBackend ui;
  vcl::TOpenDialog open(nullptr, "OpenDialog1");
  open.setOptions(vcl::ofFileMustExist);
  vcl::TSaveDialog save(nullptr, "SaveDialog1");
  save.setOptions(vcl::ofFileMustExist | vcl::ofOverwritePrompt);

  ui.pick("C:\\nowhere.paf");
  EXPECT_THROW(open.execute(), ui::UnexpectedPrompt);

  ui.pick("C:\\Family\\tree_listing.txt");
  EXPECT_TRUE(save.execute());
  EXPECT_EQ(save.fileName(), "C:\\Family\\tree_listing.txt");
  EXPECT_EQ(ui.shown().back().kind, ui::Shown::Kind::SaveDialog);
}

}  // namespace
