// Start-up and the main window's commands: recent files from PAF's registry key, File > Open,
// the help texts and resizing.
#include <fstream>

#include "app/PackerTexts.h"
#include "tests/app/RunTestSupport.h"

namespace {

class MainWindowTest : public RunTest {
 protected:
  // PAF's recent-file list in the prefix's user.reg; an empty path leaves the value out.
  void writeRecentFiles(const std::vector<std::string>& files) {
    std::ofstream reg(prefix_.prefix() / "user.reg", std::ios::binary);
    reg << "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win32\n\n"
        << "[Software\\\\LDS Church\\\\FamilySearch\\\\Personal Ancestral File 5\\\\Recent File List] 1700000000\n"
        << "#time=1d9f0000000000\n";
    for (std::size_t k = 0; k < files.size(); ++k) {
      if (files[k].empty()) continue;
      std::string escaped;
      for (char c : files[k]) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
      reg << "\"File" << k + 1 << "\"=\"" << escaped << "\"\n";
    }
  }

  // The window as start-up leaves it: recent files read, shown, menu built for display.
  void startUp() {
    form_->afterConstruction();
    form_->show();
  }
};

TEST_F(MainWindowTest, WithoutRecentFilesTheFileMenuHasOpenAndExit) {
  startUp();
  for (vcl::TMenuItem* item : {form_->mru1, form_->mru2, form_->mru3, form_->mru4}) {
    EXPECT_FALSE(item->visible());
    EXPECT_FALSE(item->enabled());
  }
  EXPECT_EQ(form_->Open1->caption(), "&Open");
  EXPECT_EQ(form_->Exit1->caption(), "E&xit");
  EXPECT_EQ(form_->Memo1->text().rfind(
                "This program is intended to help package up all the\nmultimedia files referenced in a .PAF file "
                "(along with\nthe .PAF file) so that it can all be shared together.\n\n",
                0),
            0u);
}

TEST_F(MainWindowTest, VanishedRecentFileLeavesItsItemHiddenAndTheOthersInPlace) {
  addFile("C:\\Family\\tree.paf");
  addFile("C:\\Family\\other.paf");
  writeRecentFiles({"C:\\Family\\gone.paf", "C:\\Family\\tree.paf", "", "C:\\Family\\other.paf"});
  startUp();
  EXPECT_FALSE(form_->mru1->visible());
  EXPECT_TRUE(form_->mru2->visible());
  EXPECT_FALSE(form_->mru3->visible());
  EXPECT_TRUE(form_->mru4->visible());
  // The menu gave the path an accelerator before its drive letter.
  EXPECT_EQ(form_->mru2->caption(), "&C:\\Family\\tree.paf");
}

TEST_F(MainWindowTest, RecentFileItemRunsTheExactPathFromTheRegistry) {
  PafBuilder b;
  b.addIndividual();
  installFamily(b.build());
  writeRecentFiles({"C:\\Family\\tree.paf"});
  startUp();
  ui_.click("btnOK").press(vcl::IDOK).press(vcl::IDOK);
  try {
    form_->mru1Click();
  } catch (const ProcessEnded&) {
  }
  EXPECT_EQ(form_->databasePath, "C:\\Family\\tree.paf");
  EXPECT_EQ(form_->mru1->caption(), "C:\\Family\\tree.paf");
}

TEST_F(MainWindowTest, OpenStartsInTheFolderOfTheFirstRecentFile) {
  addFile("C:\\Family\\smith.paf");
  writeRecentFiles({"C:\\Family\\smith.paf"});
  startUp();
  ui_.cancel();
  form_->Open1Click();
  const std::vector<ui::Shown> dialogs = ui_.shown(ui::Shown::Kind::OpenDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].initialDir, "C:\\Family\\");
  EXPECT_EQ(dialogs[0].caption, "PAF File Open");
  EXPECT_EQ(dialogs[0].filter, "PAF Files|*.paf|GEDCOM|*.ged");
  EXPECT_EQ(dialogs[0].defaultExt, ".paf");
}

TEST_F(MainWindowTest, CancelledOpenStartsNoRunAndLeavesTheMemo) {
  startUp();
  const std::string before = form_->Memo1->text();
  ui_.cancel();
  form_->Open1Click();
  EXPECT_EQ(form_->Memo1->text(), before);
  EXPECT_EQ(form_->database, nullptr);
}

TEST_F(MainWindowTest, SelfExtractingHelpEmptiesTheMemoFirst) {
  startUp();
  ui_.press(vcl::IDOK);
  form_->WhatisSelfextracting1Click();
  EXPECT_EQ(form_->Memo1->text(), "");
  EXPECT_EQ(lastMessage().caption, "");
  EXPECT_EQ(lastMessage().text,
            "This program will produce either:\n1) a zip archive that includes the PAF file\n  and all the multimedia "
            "files referenced \n  therein.\nor\n2) a self extracting archive containing the \n  same information as "
            "the zip file.\n\nA self extracting archive is basically a zip\narchive strapped on the back of an unzip "
            "\nprogram.\n\nIf the person recieving the data doesn't have\nan appropriate unzip tool and an "
            "understanding \nof how to use it they might end up treating a\nzip archive as if it were just a PAF "
            "backup.\nThat would not unpack the multimedia files.\nIf you send a self extracting archive\nthere will "
            "be no ambiguity about which program\nshould handle the unpacking.  All the files \nwill be unpacked.");
}

TEST_F(MainWindowTest, AboutNamesTheArchiverItsVolunteers) {
  startUp();
  ui_.press(vcl::IDOK);
  form_->About1Click();
  EXPECT_EQ(lastMessage().caption, "About Corvane");
  const std::string text = lastMessage().text;
  EXPECT_EQ(text.rfind("Corvane is a program to help PAF5 users\nshare there data along with any multimedia \n"
                       "elements they may have referenced in their database.\n\n",
                       0),
            0u);
  EXPECT_NE(text.find("The software that does the actual compression and \ndecompression is generously provided by "
                      "volunteers at \n"),
            std::string::npos);
}

TEST_F(MainWindowTest, FormLayoutAndResize) {
  EXPECT_EQ(form_->caption().rfind("Corvane   v1.8.3", 0), 0u);
  EXPECT_EQ(form_->left(), 192);
  EXPECT_EQ(form_->top(), 114);
  EXPECT_EQ(form_->Memo1->width(), 449);
  EXPECT_EQ(form_->Label2->caption(), std::string(11, ' '));
  EXPECT_EQ(form_->Label3->caption(), std::string(13, ' '));
  form_->setBounds({192, 114, 600, 500});
  EXPECT_EQ(form_->Memo1->width(), 580);
  EXPECT_EQ(form_->Memo1->height(), 410);
}

}  // namespace
