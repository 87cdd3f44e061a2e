// Whole runs through the console front end: each way a run ends, as a script sees it.
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <utility>

#include "tests/e2e/E2eSupport.h"

namespace {

// Options answers: toggle by number, then OK. 2 = listing file, 6 = fix broken links,
// 11 = create archive.
constexpr char kNoArchiveNoRescue[] = "6\n11\nOK\n";

struct RunCase {
  const char* name;
  std::vector<std::string> links;
  std::vector<std::string> files;  // Windows paths that exist
  std::string answers;
  int status;
  std::vector<std::string> shown;
};

class ConsoleRunTest : public ConsoleRun, public ::testing::WithParamInterface<RunCase> {};

TEST_P(ConsoleRunTest, EndsAsAUserSeesIt) {
  const RunCase& c = GetParam();
  for (const std::string& file : c.files) addFile(file, "photo");
  install(familyLinking(c.links));
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", c.answers);
  EXPECT_EQ(result.status, c.status) << result.output;
  for (const std::string& text : c.shown) EXPECT_TRUE(shows(result.output, text));
}

const RunCase kRuns[] = {
    {"NoMediaAtAll", {}, {}, "2\nOK\n", 0,
     {"memo Memo1 (1 line):\n|  -- none found -- \n",
      "message box: All Done\n| There were no multi-media files found.\n| There is nothing more for this program to do.\n"}},
    {"OnlyFoundFiles", {"Photos\\me.jpg"}, {"C:\\Family\\Photos\\me.jpg"}, kNoArchiveNoRescue, 0,
     {"memo Memo1 (1 line):\n| Photos\\me.jpg\n", "message box: -\n| Done!\n? answer: 1 OK\n"}},
    {"OnlyMissingFiles", {"Photos\\gone.jpg"}, {}, kNoArchiveNoRescue, 0,
     {"memo Memo1 (6 lines):\n| \n| The following multimedia files were\n| not found.\n| \n| Photos\\gone.jpg\n|  referenced from Rin 1;\n",
      "| Done!\n"}},
    {"OutsideFile", {"Photos\\me.jpg", "C:\\Elsewhere\\x.jpg"}, {"C:\\Family\\Photos\\me.jpg", "C:\\Elsewhere\\x.jpg"}, "OK\n", 0,
     {"message box: Problem!\n| There is at least one multi-media file referenced\n| in this database which isn't in C:\\Family\\\n"
      "| or a folder that is subordinate to C:\\Family\\\n"}},
    {"OptionsCancelled", {"Photos\\me.jpg"}, {"C:\\Family\\Photos\\me.jpg"}, "Cancel\n", 0, {"> Cancel\n"}},
};

INSTANTIATE_TEST_SUITE_P(Runs, ConsoleRunTest, ::testing::ValuesIn(kRuns),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(ConsoleRun, OptionsCancelledShowsNothingMore) {
  install(familyLinking({}));
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "Cancel\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output.find("message box"), std::string::npos) << result.output;
}

TEST_F(ConsoleRun, NoListingFileWhenThereIsNothingToList) {
  install(familyLinking({}));
  run("C:\\Family\\tree.paf", "2\nOK\n");
  EXPECT_FALSE(std::filesystem::exists(host("C:\\Family\\tree_listing.txt")));
}

TEST_F(ConsoleRun, ListingFileIsWrittenInTextMode) {
  addFile("C:\\Family\\Photos\\me.jpg", "photo");
  install(familyLinking({"Photos\\me.jpg", "Photos\\gone.jpg"}));
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "2\nOK\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(corvane::testing::readBytes(host("C:\\Family\\tree_listing.txt")),
            "Found Files ======================\r\nPhotos\\me.jpg\r\n"
            "Missing Files =====================\r\nPhotos\\gone.jpg\r\n");
}

struct BadDatabaseCase {
  const char* name;
  std::function<void(ConsoleRun&)> prepare;
  const char* database;
};

int g_heldOpen = -1;  // another writer's descriptor, closed after the run

class BadDatabaseTest : public ConsoleRun, public ::testing::WithParamInterface<BadDatabaseCase> {};

// The database error, then the program ends when the message is closed.
TEST_P(BadDatabaseTest, GivesTheDatabaseErrorAndEnds) {
  install(familyLinking({}));
  GetParam().prepare(*this);
  const corvane::testing::ToolRun result = run(GetParam().database, "OK\nOK\n");
  if (g_heldOpen >= 0) ::close(std::exchange(g_heldOpen, -1));
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(shows(result.output,
                    "message box: Error\n| An error has occurred.\n| It could be one of several things:\n| \n"
                    "| 1- You have this same datafile still open in PAF.\n|     (You need to shut down PAF before you run\n"
                    "|       this program.)\n| 2- This is an empty data file - no individuals added yet.\n"
                    "|            or\n| 3- Your file is corrupted.  Try PAFs Error Check/Correction\n"));
  EXPECT_EQ(result.output.find("window: ", result.output.find("message box: Error")), std::string::npos);
}

const BadDatabaseCase kBadDatabases[] = {
    {"Gedcom", [](ConsoleRun& t) { t.addFileForTest("C:\\Family\\tree.ged", "0 HEAD\n0 TRLR\n"); }, "C:\\Family\\tree.ged"},
    {"HeldOpenForWriting",
     [](ConsoleRun& t) { g_heldOpen = ::open(t.hostForTest("C:\\Family\\tree.paf").c_str(), O_RDWR | O_CLOEXEC); },
     "C:\\Family\\tree.paf"},
};

INSTANTIATE_TEST_SUITE_P(Files, BadDatabaseTest, ::testing::ValuesIn(kBadDatabases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(ConsoleRun, RecentFilesComeFromUserRegWithoutTheVanishedOne) {
  install(familyLinking({}));
  std::ofstream(prefix_ / "user.reg", std::ios::binary)
      << "WINE REGISTRY Version 2\n\n[Software\\\\LDS Church\\\\FamilySearch\\\\Personal Ancestral File 5\\\\Recent File List] 1\n"
      << "\"File1\"=\"C:\\\\Family\\\\vanished.paf\"\n\"File2\"=\"C:\\\\Family\\\\tree.paf\"\n";
  const corvane::testing::ToolRun result = run("", "3\nOK\nOK\n");
  EXPECT_TRUE(shows(result.output, "menu:\n  File\n    1 Open\n    3 C:\\Family\\tree.paf\n    6 Exit\n"));
  EXPECT_TRUE(shows(result.output, "message box: All Done\n"));
  EXPECT_EQ(result.status, 0);
}

}  // namespace
