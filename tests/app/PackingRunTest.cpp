// The packing run from the options dialog to its end, with every message it shows.
#include "app/PackerTexts.h"
#include "platform/File.h"
#include "tests/app/RunTestSupport.h"

namespace {

constexpr char kDatabaseError[] =
    "An error has occurred.\nIt could be one of several things:\n\n1- You have this same datafile still open in PAF.\n"
    "    (You need to shut down PAF before you run\n      this program.)\n2- This is an empty data file - no "
    "individuals added yet.\n           or\n3- Your file is corrupted.  Try PAFs Error Check/Correction";

// A family whose links name the given paths, each owned by individual 1.
PafImage familyLinking(const std::vector<std::string>& paths) {
  PafBuilder b;
  b.addIndividual();
  b.addText("Marlow", 1);
  for (const std::string& path : paths) b.addMediaLink(fx::kOwnerIndividual, 1, path);
  return b.build();
}

class PackingRunTest : public RunTest {
 protected:
  // Options: no archive, no rescue, then OK.
  void plainOptions() { ui_.click("cbCreateArchive").click("cbSearchAndRescue").click("btnOK"); }
};

TEST_F(PackingRunTest, NoMediaSaysNothingToDoAndEndsWithStatusZero) {
  installFamily(familyLinking({}));
  ui_.click("cbToFile").click("btnOK").press(vcl::IDOK);
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(form_->Memo1->text(), " -- none found -- \n");
  EXPECT_EQ(lastMessage().caption, "All Done");
  EXPECT_EQ(lastMessage().text, "There were no multi-media files found.\nThere is nothing more for this program to do.");
  EXPECT_EQ(lastMessage().buttons, vcl::MB_OK);
  EXPECT_FALSE(platform::fileExists("C:\\Family\\tree_listing.txt"));
}

TEST_F(PackingRunTest, OnlyFoundFilesEndWithDone) {
  addFile("C:\\Family\\Photos\\me.jpg");
  installFamily(familyLinking({"Photos\\me.jpg", "C:\\Family\\Photos\\me.jpg"}));
  plainOptions();
  ui_.press(vcl::IDOK);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(form_->Memo1->text(), "Photos\\me.jpg\n.\\Photos\\me.jpg\n");
  EXPECT_EQ(lastMessage().caption, "-");
  EXPECT_EQ(lastMessage().text, "Done!");
  EXPECT_TRUE(form_->normalizePaths);
  EXPECT_TRUE(ui_.unusedSteps().empty());
}

TEST_F(PackingRunTest, OnlyMissingFilesStartWithAnEmptyLine) {
  installFamily(familyLinking({"Photos\\gone.jpg"}));
  plainOptions();
  ui_.press(vcl::IDOK);
  run();
  EXPECT_EQ(form_->Memo1->text(),
            "\nThe following multimedia files were\nnot found.\n\nPhotos\\gone.jpg\n referenced from Rin 1;\n");
  EXPECT_EQ(lastMessage().text, "Done!");
}

TEST_F(PackingRunTest, OutsideFileIsAProblemNamingTheFolderTwice) {
  addFile("D:\\Pics\\a.jpg");
  installFamily(familyLinking({"D:\\Pics\\a.jpg"}));
  ui_.click("btnOK").press(vcl::IDOK);  // archive on: the outside file still blocks it
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage().caption, "Problem!");
  const std::string text = lastMessage().text;
  EXPECT_EQ(text.rfind(
                "There is at least one multi-media file referenced\nin this database which isn't in C:\\Family\\\n"
                "or a folder that is subordinate to C:\\Family\\\n\nArranging to have things unpack correctly\n"
                "is too difficult for most users.  So we won't\npack these kinds of situations.  Move or Copy\n"
                "The problem files to a subordinate location \nthen try packing them again.\n\n"
                "The next version of Corvane will help\nyou move them.\n",
                0),
            0u);
  EXPECT_FALSE(form_->Timer1->enabled());
}

TEST_F(PackingRunTest, ListingFileHasBothBlocksInTextMode) {
  addFile("C:\\Family\\Photos\\me.jpg");
  installFamily(familyLinking({"Photos\\me.jpg", "Photos\\a.jpg", "Photos\\b.jpg"}));
  ui_.click("cbToFile").click("btnOK").press(vcl::IDOK);
  run();
  EXPECT_EQ(fileBytes("C:\\Family\\tree_listing.txt"),
            "Found Files ======================\r\nPhotos\\me.jpg\r\n"
            "Missing Files =====================\r\nPhotos\\a.jpg\r\nPhotos\\b.jpg\r\n\r\n");
}

TEST_F(PackingRunTest, UnwritableListingPathIsReportedAndTheRunGoesOn) {
  addFile("C:\\Family\\Photos\\me.jpg");
  installFamily(familyLinking({"Photos\\me.jpg"}));
  ui_.click("cbToFile").click("btnBrowseListing").cancel().click("btnOK");
  ui_.press(vcl::IDOK).press(vcl::IDOK);
  run();
  const std::vector<ui::Shown> boxes = ui_.shown(ui::Shown::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Whoops!");
  EXPECT_EQ(boxes[1].text, "Done!");
}

struct DatabaseErrorCase {
  const char* name;
  const char* path;
};

class DatabaseErrorTest : public PackingRunTest, public ::testing::WithParamInterface<DatabaseErrorCase> {};

TEST_P(DatabaseErrorTest, ShowsTheErrorAndClosesTheMainWindow) {
  installFamily(familyLinking({}));
  addFile("C:\\Family\\tree.ged", "0 HEAD\n1 SOUR PAF\n0 TRLR\n");
  PafBuilder empty;  // no individual at all
  empty.build().writeTo(prefix_.host("C:\\Family\\empty.paf"));
  form_->show();
  ui_.click("btnOK").press(vcl::IDOK);
  EXPECT_EQ(run(GetParam().path), -1);
  EXPECT_EQ(lastMessage().caption, "Error");
  EXPECT_EQ(lastMessage().text, kDatabaseError);
  EXPECT_FALSE(form_->visible());
}

const DatabaseErrorCase kDatabaseErrors[] = {
    {"Absent", "C:\\Family\\nothere.paf"},
    {"Gedcom", "C:\\Family\\tree.ged"},
    {"NoIndividuals", "C:\\Family\\empty.paf"},
};

INSTANTIATE_TEST_SUITE_P(Files, DatabaseErrorTest, ::testing::ValuesIn(kDatabaseErrors),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(PackingRunTest, DatabaseHeldByAnotherWriterGivesTheError) {
  installFamily(familyLinking({}));
  CPAFDatabase holder;
  ASSERT_EQ(holder.Open(u"C:\\Family\\tree.paf", false), 1);
  ui_.click("btnOK").press(vcl::IDOK);
  run();
  EXPECT_EQ(lastMessage().text, kDatabaseError);
}

// The previous run's database must not keep the file from the next run.
TEST_F(PackingRunTest, SecondRunOnTheSameFileWorks) {
  addFile("C:\\Family\\Photos\\me.jpg");
  installFamily(familyLinking({"Photos\\me.jpg"}));
  plainOptions();
  ui_.press(vcl::IDOK);
  run();
  ui_.click("btnOK").press(vcl::IDOK);
  run();
  EXPECT_EQ(lastMessage().text, "Done!");
}

TEST_F(PackingRunTest, OptionsCancelEndsWithStatusZeroBeforeOpening) {
  installFamily(familyLinking({}));
  ui_.click("btnCancel");
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(form_->database, nullptr);
}

TEST_F(PackingRunTest, ClosingTheOptionsWithTheCloseBoxRunsWithTheSettingsAsTheyWere) {
  addFile("C:\\Family\\Photos\\me.jpg");
  installFamily(familyLinking({"Photos\\me.jpg"}));
  ui_.closeBox().press(vcl::IDOK);
  run();
  EXPECT_EQ(lastMessage().text, "Done!");  // createArchive is still false before any OK
}

TEST_F(PackingRunTest, LongDatabasePathIsOpenedWhole) {
  const std::string folder = "C:\\Family\\" + std::string(100, 'd') + "\\";
  addFile(folder + "Photos\\me.jpg");
  familyLinking({"Photos\\me.jpg"}).writeTo(prefix_.host(folder + "tree.paf"));
  plainOptions();
  ui_.press(vcl::IDOK);
  run(folder + "tree.paf");
  EXPECT_EQ(lastMessage().text, "Done!");
  EXPECT_EQ(form_->databaseFolder, folder);
}

}  // namespace
