// Archive creation through the batch, corvane-cmd, zip.exe and the self-extractor stub, as a
// user gets it at the end of a clean run.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/e2e/E2eSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr char kGrandma[] = "\xFF\xD8\xFF\xE0 grandma's portrait";
constexpr char kLetter[] = "\x89PNG\r\n\x1A\n a letter";

class ArchiveRun : public ConsoleRun {
 protected:
  // A family in `folder` whose two photos exist, linked in two of the stored forms.
  void installFamily(const std::string& folder, const std::string& name = "tree.paf") {
    addFile(folder + "Photos\\grandma.jpg", kGrandma);
    addFile(folder + "Scans\\letter.png", kLetter);
    install(familyLinking({".\\Photos\\grandma.jpg", "Scans\\letter.png"}), folder + name);
  }

  // What the archive must hold: the database as it is after the run, and the media.
  std::map<std::string, std::string> expectedFiles(const std::string& folder, const std::string& name = "tree.paf") {
    return {{name, corvane::testing::readBytes(host(folder + name))},
            {"Photos/grandma.jpg", kGrandma},
            {"Scans/letter.png", kLetter}};
  }

  // Names of the scratch files left in a folder.
  std::vector<std::string> scratchFiles(const std::string& folder) {
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(host(folder))) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("1kvr49", 0) == 0) left.push_back(name);
    }
    return left;
  }

  // A bin folder with corvane and corvane-cmd, and the given zip.exe (or none).
  fs::path binFolderWith(const std::string& zipScript) {
    const fs::path bin = root_.makeFolder("bin");
    fs::copy_file(CORVANE_PROGRAM, bin / "corvane");
    fs::copy_file(CORVANE_CMD_PROGRAM, bin / "corvane-cmd");
    if (!zipScript.empty()) {
      std::ofstream(bin / "zip.exe") << zipScript;
      fs::permissions(bin / "zip.exe", fs::perms::owner_all);
    }
    return bin;
  }
};

TEST_F(ArchiveRun, ZipArchiveHoldsTheDatabaseAndEveryFoundFile) {
  installFamily("C:\\Family\\");
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "OK\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(shows(result.output, "message box: Done\n| C:\\Family\\tree.zip has been created.\n"));
  EXPECT_EQ(corvane::testing::unpack(host("C:\\Family\\tree.zip"), root_.makeFolder("unpacked")), expectedFiles("C:\\Family\\"));
  EXPECT_TRUE(scratchFiles("C:\\Family\\").empty());
}

TEST_F(ArchiveRun, SelfExtractingArchiveRecreatesTheFamilyInAnEmptyFolder) {
  if (!fs::exists(fs::path(CORVANE_BIN_FOLDER) / "SFXWiz32.exe")) GTEST_SKIP() << "no unzipsfx here";
  installFamily("C:\\Family\\");
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "13\nOK\n");
  EXPECT_TRUE(shows(result.output, "| C:\\Family\\tree.exe has been created.\n"));
  EXPECT_TRUE(scratchFiles("C:\\Family\\").empty());

  const fs::path empty = root_.makeFolder("elsewhere");
  corvane::testing::ToolSetup setup;
  setup.folder = empty;
  const corvane::testing::ToolRun unpacked = corvane::testing::runTool(host("C:\\Family\\tree.exe").string(), {}, setup);
  EXPECT_EQ(unpacked.status, 0) << unpacked.output << unpacked.errors;
  EXPECT_EQ(corvane::testing::filesBelow(empty), expectedFiles("C:\\Family\\"));
}

TEST_F(ArchiveRun, DatabaseNameWithSeveralDotsKeepsAllButTheLast) {
  installFamily("C:\\Family\\", "my.tree.paf");
  const corvane::testing::ToolRun result = run("C:\\Family\\my.tree.paf", "OK\n");
  EXPECT_TRUE(shows(result.output, "| C:\\Family\\my.tree.zip has been created.\n"));
  EXPECT_TRUE(fs::exists(host("C:\\Family\\my.tree.zip")));
}

TEST_F(ArchiveRun, FolderWithBlanksAndAnAmpersand) {
  installFamily("C:\\My Family & Friends\\");
  const corvane::testing::ToolRun result = run("C:\\My Family & Friends\\tree.paf", "OK\n");
  EXPECT_TRUE(shows(result.output, "| C:\\My Family & Friends\\tree.zip has been created.\n"));
  EXPECT_EQ(corvane::testing::unpack(host("C:\\My Family & Friends\\tree.zip"), root_.makeFolder("unpacked")),
            expectedFiles("C:\\My Family & Friends\\"));
}

// A marker left by an interrupted batch must not end the wait before the new archive exists.
TEST_F(ArchiveRun, StaleMarkerDoesNotEndTheWaitEarly) {
  installFamily("C:\\Family\\");
  addFile("C:\\Family\\1kvr4960.ef", "44 \r\n");
  // An archiver slower than the first tick of the poll.
  const fs::path bin = binFolderWith("#!/bin/sh\nsleep 1.5\nexec '" CORVANE_BIN_FOLDER "/zip.exe' \"$@\"\n");
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "OK\n", bin);
  EXPECT_TRUE(shows(result.output, "| C:\\Family\\tree.zip has been created.\n"));
  EXPECT_TRUE(scratchFiles("C:\\Family\\").empty());
}

TEST_F(ArchiveRun, WithoutZipExeNothingIsWrittenAndTheWindowStaysOpen) {
  installFamily("C:\\Family\\");
  const fs::path bin = binFolderWith("");
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "OK\n", bin);
  EXPECT_TRUE(shows(result.output, "message box: Whoops!\n| Couldn't find zip.exe to create the archive.\n"));
  // The main window comes back for the next command.
  EXPECT_NE(result.output.find("window: ", result.output.find("Couldn't find zip.exe")), std::string::npos);
  EXPECT_TRUE(scratchFiles("C:\\Family\\").empty());
}

TEST_F(ArchiveRun, FailingArchiverGivesTheReportWithoutCreated) {
  installFamily("C:\\Family\\");
  const fs::path bin = binFolderWith("#!/bin/sh\necho 'zip error: Nothing to do!' >&2\nexit 12\n");
  const corvane::testing::ToolRun result = run("C:\\Family\\tree.paf", "OK\n", bin);
  EXPECT_TRUE(shows(result.output, "message box: Done\n| C:\\Family\\tree.zip\n? answer: 1 OK\n"));
  EXPECT_FALSE(fs::exists(host("C:\\Family\\tree.zip")));
}

}  // namespace
