// corvane-cmd running the archive batch as Corvane writes it, and the interpreter's rules that
// the batch relies on: every line runs to its end, a failing line does not stop the batch, and
// the marker line always runs last.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/WinPath.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/ToolRun.h"
#include "tests/tools/ZipDirectory.h"

namespace {

namespace fs = std::filesystem;
using corvane::testing::readBytes;
using corvane::testing::runTool;
using corvane::testing::ToolRun;

// A folder name that needs its quotes: blanks, and "&", which the interpreter would otherwise
// take as the end of a command.
constexpr char kFolder[] = "C:\\My Family & Friends\\";
constexpr char kBatch[] = "C:\\My Family & Friends\\1kvr4958.bat";
constexpr char kListName[] = "1kvr4958.fl";
constexpr char kMarkerName[] = "1kvr4960.ef";
constexpr char kIntermediateName[] = "1kvr4959.zip";
constexpr char kMarkerBytes[] = "44 \r\n";  // "echo 44 >1kvr4960.ef" keeps the blank before ">"

// Bytes a text-mode or ASCII copy would damage: line ends, a Ctrl-Z, a NUL.
const std::string kDatabaseBytes = std::string("PAF5\r\n\x1a\0\xff tail", 14);
const std::string kPhotoBytes = "\xff\xd8\xff\xe0 jpeg \n\r\n";
const std::string kScanBytes = "%PDF-1.4\n\x1a";

// The batch Corvane writes, in text mode: five lines, no line end after the last.
std::string corvaneBatch(const std::string& zipProgram, const std::string& stubProgram, bool selfExtracting) {
  const std::string archiveBase = std::string(kFolder) + "tree";
  std::string batch = "@echo on\r\n";
  batch += "cd \"" + std::string(kFolder) + "\"\r\n";
  batch += "\"" + zipProgram + "\" 1kvr4959 -@ <1kvr4958.fl\r\n";
  if (selfExtracting) {
    batch += "copy \"" + stubProgram + "\"/b+1kvr4959.zip/b \"" + archiveBase + ".exe\"\r\n";
  } else {
    batch += "move 1kvr4959.zip \"" + archiveBase + ".zip\"\r\n";
  }
  batch += "echo 44 >1kvr4960.ef";
  return batch;
}

// The list file for the family: the database, then every found file's stored path.
constexpr char kFamilyList[] = "tree.paf\r\n.\\Photos\\me.jpg\r\nDocuments\\census 1881.pdf\r\n";

class ArchiveBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_.addDrive('C');
    prefix_.writeFile(std::string(kFolder) + "tree.paf", kDatabaseBytes);
    prefix_.writeFile(std::string(kFolder) + "Photos\\me.jpg", kPhotoBytes);
    prefix_.writeFile(std::string(kFolder) + "Documents\\census 1881.pdf", kScanBytes);
    prefix_.writeFile(std::string(kFolder) + kListName, kFamilyList);
    const std::optional<std::string> programFolder = platform::toWindowsPath(CORVANE_BIN_FOLDER);
    ASSERT_TRUE(programFolder);
    zipProgram_ = platform::joinWindowsPath(*programFolder, "zip.exe");
    stubProgram_ = platform::joinWindowsPath(*programFolder, "SFXWiz32.exe");
    if (!corvane::testing::onPath("zip")) GTEST_SKIP() << "Info-ZIP zip is not installed";
  }

  fs::path family(const std::string& name = "") const { return prefix_.host(std::string(kFolder) + name); }

  // Runs the batch as Corvane starts it: from the program's folder, by the batch's path.
  ToolRun runBatch(const std::string& batch) {
    prefix_.writeFile(kBatch, batch);
    return runTool(CORVANE_CMD_PROGRAM, {kBatch}, {CORVANE_BIN_FOLDER, prefix_.prefix(), std::nullopt});
  }

  // Runs a batch of other lines with the family folder as the current folder.
  ToolRun runInFamily(const std::string& batch) {
    prefix_.writeFile(kBatch, batch);
    return runTool(CORVANE_CMD_PROGRAM, {kBatch}, {family(), prefix_.prefix(), std::nullopt});
  }

  std::map<std::string, std::string> familyFiles() const {
    return {{"tree.paf", kDatabaseBytes}, {"Photos/me.jpg", kPhotoBytes}, {"Documents/census 1881.pdf", kScanBytes}};
  }

  corvane::testing::TempPrefix prefix_;
  std::string zipProgram_;
  std::string stubProgram_;
};

TEST_F(ArchiveBatch, ZipArchiveHoldsTheFamilyUnderItsNamesAndIsMovedToItsFinalName) {
  const ToolRun run = runBatch(corvaneBatch(zipProgram_, stubProgram_, false));

  EXPECT_EQ(run.status, 0) << run.errors;
  ASSERT_TRUE(fs::exists(family("tree.zip"))) << run.output << run.errors;
  EXPECT_FALSE(fs::exists(family(kIntermediateName))) << "the move left the intermediate archive";
  corvane::testing::TempFolder unpacked;
  EXPECT_EQ(corvane::testing::unpack(family("tree.zip"), unpacked.path()), familyFiles());
  EXPECT_EQ(readBytes(family(kMarkerName)), kMarkerBytes);
  // The cd took the batch from the program's drive to the family's, and the lines show as the
  // interpreter shows them.
  EXPECT_NE(run.output.find("\nC:\\My Family & Friends>echo 44  1>1kvr4960.ef\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(">\"" + zipProgram_ + "\" 1kvr4959 -@  0<1kvr4958.fl\n"), std::string::npos) << run.output;
}

TEST_F(ArchiveBatch, SelfExtractingArchiveIsAProgramThatRecreatesTheFamilyInAnEmptyFolder) {
  if (!fs::exists(fs::path(CORVANE_BIN_FOLDER) / "SFXWiz32.exe")) GTEST_SKIP() << "no self-extractor stub (unzipsfx)";
  const ToolRun run = runBatch(corvaneBatch(zipProgram_, stubProgram_, true));

  EXPECT_EQ(run.status, 0) << run.errors;
  const fs::path program = family("tree.exe");
  ASSERT_TRUE(fs::exists(program)) << run.output << run.errors;
  EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none) << "copy did not mark the .exe executable";
  EXPECT_EQ(readBytes(family(kMarkerName)), kMarkerBytes);
  // Offsets moved past the stub: any zip reader takes the program as an archive as it is.
  for (const corvane::testing::ZipEntryInfo& entry : corvane::testing::readCentralDirectory(program)) {
    EXPECT_TRUE(entry.localHeaderWhereRecorded) << entry.name;
  }

  corvane::testing::TempFolder empty;
  const ToolRun unpacking = runTool(program.string(), {}, {empty.path(), std::nullopt, std::nullopt});
  EXPECT_EQ(unpacking.status, 0) << unpacking.output << unpacking.errors;
  EXPECT_EQ(corvane::testing::filesBelow(empty.path()), familyFiles());
}

// Each batch fails somewhere before its last line; the marker must come all the same, with
// the interpreter's complaint on the console.
struct FailingLineCase {
  const char* name;
  std::string (*batch)(const std::string& zipProgram, const std::string& stubProgram);
  const char* list;
  const char* complaint;  // on standard error
  const char* absent;     // no such file in the family folder afterwards
};

const FailingLineCase kFailingLines[] = {
    {"ArchiverFindsNothingAndTheMoveFails",
     [](const std::string& zip, const std::string& stub) { return corvaneBatch(zip, stub, false); },
     "gone.paf\r\n -- none found --\r\n", "The system cannot find the file specified.\n", "tree.zip"},
    {"StubIsMissingSoTheCopyMakesNothing",
     [](const std::string& zip, const std::string&) { return corvaneBatch(zip, "C:\\Nowhere\\SFXWiz32.exe", true); },
     kFamilyList, "The system cannot find the file specified.\n", "tree.exe"},
    {"ArchiverIsMissing",
     [](const std::string&, const std::string& stub) { return corvaneBatch("C:\\Nowhere\\zip.exe", stub, false); },
     kFamilyList,
     "'\"C:\\Nowhere\\zip.exe\"' is not recognized as an internal or external command,\noperable program or batch file.\n",
     "tree.zip"},
    {"UnknownCommandBeforeTheMarker",
     [](const std::string&, const std::string&) {
       return std::string("@echo on\r\ncd \"") + kFolder + "\"\r\nfrobnicate 1kvr4959.zip\r\necho 44 >1kvr4960.ef";
     },
     kFamilyList,
     "'frobnicate' is not recognized as an internal or external command,\noperable program or batch file.\n",
     "frobnicate"},
};

class FailingLine : public ArchiveBatch, public ::testing::WithParamInterface<FailingLineCase> {};

TEST_P(FailingLine, MarkerLineStillRunsLast) {
  const FailingLineCase& c = GetParam();
  prefix_.writeFile(std::string(kFolder) + kListName, c.list);
  const ToolRun run = runBatch(c.batch(zipProgram_, stubProgram_));

  EXPECT_NE(run.errors.find(c.complaint), std::string::npos) << run.errors;
  EXPECT_EQ(readBytes(family(kMarkerName)), kMarkerBytes);
  EXPECT_FALSE(fs::exists(family(c.absent)));
  EXPECT_EQ(run.status, 0) << "the status is the last line's";
}

INSTANTIATE_TEST_SUITE_P(Batch, FailingLine, ::testing::ValuesIn(kFailingLines),
                         [](const ::testing::TestParamInfo<FailingLineCase>& p) { return std::string(p.param.name); });

// The interpreter's rules, one small batch each, run in the family folder.
struct RuleCase {
  const char* name;
  std::map<std::string, std::string> before;  // files in the family folder first
  std::string batch;
  std::map<std::string, std::string> after;   // their bytes afterwards; "" = must be absent
  int status;
};

const RuleCase kRules[] = {
    {"QuotedRedirectionSignIsText", {}, "echo \"a > b\" >m", {{"m", "\"a > b\" \r\n"}}, 0},
    {"LinesEndingInLineFeedOnlyAndALastLineWithoutEndRun", {}, "echo one>a\necho two>b", {{"a", "one\r\n"}, {"b", "two\r\n"}}, 0},
    {"DoubleRedirectionAppends", {}, "echo one>a\r\necho two >>a", {{"a", "one\r\ntwo \r\n"}}, 0},
    {"MoveReplacesTheTarget", {{"src", "new"}, {"dst", "old"}}, "move src \"dst\"", {{"src", ""}, {"dst", "new"}}, 0},
    {"CopyConcatenatesBytesAsTheyAre", {{"a", std::string("\r\n\x1a\0", 4)}, {"b", "\x1a" "b\n"}},
     "copy \"a\"/b+b/b \"c\"", {{"c", std::string("\r\n\x1a\0\x1a" "b\n", 7)}}, 0},
    {"CdTakesQuotedFolderWithBlanksAndAmpersand", {{"Sub & Co/keep", ""}},
     "cd \"C:\\My Family & Friends\\Sub & Co\"\r\necho x >m", {{"Sub & Co/m", "x \r\n"}, {"m", ""}}, 0},
    {"CdTakesAFolderNamedInCodePage1252", {{"G\xc3\xa9n\xc3\xa9" "alogie/keep", ""}},
     "cd G\xe9n\xe9" "alogie\r\necho x >m", {{"G\xc3\xa9n\xc3\xa9" "alogie/m", "x \r\n"}}, 0},
    {"CdToAMissingFolderStaysWhereItWas", {}, "cd \"C:\\Nowhere\"\r\necho x >m", {{"m", "x \r\n"}}, 0},
    {"StatusIsTheLastLinesEvenAfterAFailure", {}, "move nothing there\r\necho x >m", {{"m", "x \r\n"}}, 0},
    {"FailingLastLineGivesItsStatus", {}, "move nothing there", {}, 1},
    {"UnknownLastCommandGivesAFailingStatus", {}, "frobnicate", {}, 255},
};

class InterpreterRule : public ArchiveBatch, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(InterpreterRule, Holds) {
  const RuleCase& c = GetParam();
  for (const auto& [name, bytes] : c.before) prefix_.writeFile(std::string(kFolder) + name, bytes);
  const ToolRun run = runInFamily(c.batch);

  EXPECT_EQ(run.status, c.status) << run.output << run.errors;
  for (const auto& [name, bytes] : c.after) {
    if (bytes.empty()) {
      EXPECT_FALSE(fs::exists(family(name))) << name;
    } else {
      EXPECT_EQ(readBytes(family(name)), bytes) << name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Batch, InterpreterRule, ::testing::ValuesIn(kRules),
                         [](const ::testing::TestParamInfo<RuleCase>& p) { return std::string(p.param.name); });

// Closing Corvane while its batch runs leaves the batch without a console; the archive and
// the marker must come all the same.
TEST_F(ArchiveBatch, BatchWhoseConsoleIsGoneStillRunsToItsLastLine) {
  prefix_.writeFile(kBatch, corvaneBatch(zipProgram_, stubProgram_, false));
  const ToolRun run = runTool(CORVANE_CMD_PROGRAM, {kBatch}, {CORVANE_BIN_FOLDER, prefix_.prefix(), std::nullopt, true});

  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(fs::exists(family("tree.zip")));
  EXPECT_EQ(readBytes(family(kMarkerName)), kMarkerBytes);
}

TEST_F(ArchiveBatch, EchoOffHidesCommandsUntilEchoOnAndAtHidesItsLine) {
  const ToolRun run = runInFamily("@echo off\r\necho shown\r\necho on\r\n@echo quiet\r\necho again");
  EXPECT_EQ(run.output, "shown\nquiet\n\nC:\\My Family & Friends>echo again\nagain\n");
}

}  // namespace
