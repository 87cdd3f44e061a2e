// zip.exe: the names of a list in Windows form become the entries the Windows archiver stores,
// with the bytes of the files they resolve to.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/tools/ToolRun.h"
#include "tests/tools/ZipDirectory.h"

namespace {

namespace fs = std::filesystem;
using corvane::testing::readBytes;
using corvane::testing::ToolRun;

constexpr char kFolder[] = "C:\\Family\\";
constexpr int kNothingToDo = 12;  // Info-ZIP's status when no file was added

// The family on disk, host spellings: a folder in lower case, a file in mixed case, a name
// with a letter beyond ASCII.
const std::map<std::string, std::string> kDisk = {
    {"tree.paf", std::string("PAF5\r\n\x1a\0db", 10)},
    {"photos/Me.jpg", "\xff\xd8 me"},
    {"J\xc3\xbcrgen.jpg", "juergen"},
    {"photo1.jpg", "plain"},
};

class ZipExe : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!corvane::testing::onPath("zip") || !corvane::testing::onPath("unzip")) GTEST_SKIP() << "Info-ZIP is not installed";
    prefix_.addDrive('C');
    for (const auto& [name, bytes] : kDisk) prefix_.writeFile(std::string(kFolder) + name, bytes);
  }

  fs::path family(const std::string& name) const { return prefix_.host(std::string(kFolder) + name); }

  // Runs zip.exe as the batch does: in the family folder, the list on standard input.
  ToolRun zip(const std::string& list, const std::string& archive = "1kvr4959") {
    const fs::path listFile = scratch_.writeFile("list", list);
    return corvane::testing::runTool(CORVANE_ZIP_PROGRAM, {archive, "-@"}, {family(""), prefix_.prefix(), listFile});
  }

  std::vector<std::string> entryNames(const std::string& archive = "1kvr4959.zip") const {
    std::vector<std::string> names;
    for (const corvane::testing::ZipEntryInfo& entry : corvane::testing::readCentralDirectory(family(archive))) {
      names.push_back(entry.name);
    }
    return names;
  }

  corvane::testing::TempPrefix prefix_;
  corvane::testing::TempFolder scratch_;
};

bool isAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

struct ListCase {
  const char* name;
  std::string list;  // as Corvane writes it: code page 1252, CR LF
  // Entry name (UTF-8) and the disk file whose bytes it must hold, in archive order.
  std::vector<std::pair<std::string, std::string>> entries;
  std::string errors;  // all of standard error
};

const ListCase kLists[] = {
    {"DotPrefixAndBackslashesGoTheDatabaseKeepsItsName", "tree.paf\r\n.\\photos\\Me.jpg\r\n",
     {{"tree.paf", "tree.paf"}, {"photos/Me.jpg", "photos/Me.jpg"}}, ""},
    {"LetterCaseIsTheListsNotTheDisks", "tree.paf\r\n.\\PHOTOS\\me.JPG",
     {{"tree.paf", "tree.paf"}, {"PHOTOS/me.JPG", "photos/Me.jpg"}}, ""},
    {"OneFileInSeveralSpellingsIsPackedOnceUnderTheFirst", "Photos\\me.jpg\r\n.\\photos\\Me.jpg\r\nPHOTOS\\ME.JPG\r\n",
     {{"Photos/me.jpg", "photos/Me.jpg"}}, ""},
    {"AccentedLettersAreStoredInUtf8", "J\xfcrgen.jpg\r\n", {{"J\xc3\xbcrgen.jpg", "J\xc3\xbcrgen.jpg"}}, ""},
    {"NamesThatResolveToNothingAreReportedAndLeftOut", "tree.paf\r\n -- none found --\r\n",
     {{"tree.paf", "tree.paf"}}, "\tzip warning: name not matched:  -- none found --\n"},
};

class ZipList : public ZipExe, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ZipList, EntriesAreTheListsNamesWithTheFilesBytes) {
  const ListCase& c = GetParam();
  const ToolRun run = zip(c.list);
  ASSERT_EQ(run.status, 0) << run.output << run.errors;
  EXPECT_EQ(run.errors, c.errors);

  std::vector<std::string> expectedNames;
  std::map<std::string, std::string> expectedFiles;
  for (const auto& [entry, disk] : c.entries) {
    expectedNames.push_back(entry);
    expectedFiles[entry] = kDisk.at(disk);
  }
  EXPECT_EQ(entryNames(), expectedNames);
  for (const corvane::testing::ZipEntryInfo& entry : corvane::testing::readCentralDirectory(family("1kvr4959.zip"))) {
    EXPECT_EQ((entry.flags & corvane::testing::kUtf8NameFlag) != 0, !isAscii(entry.name)) << entry.name;
  }
  corvane::testing::TempFolder unpacked;
  EXPECT_EQ(corvane::testing::unpack(family("1kvr4959.zip"), unpacked.path()), expectedFiles);
}

INSTANTIATE_TEST_SUITE_P(Lists, ZipList, ::testing::ValuesIn(kLists),
                         [](const ::testing::TestParamInfo<ListCase>& p) { return std::string(p.param.name); });

TEST_F(ZipExe, ArchiveNameGetsZipOnlyWhenItHasNoExtension) {
  ASSERT_EQ(zip("tree.paf\r\n", "1kvr4959").status, 0);
  EXPECT_TRUE(fs::exists(family("1kvr4959.zip")));
  ASSERT_EQ(zip("tree.paf\r\n", "my.arc").status, 0);
  EXPECT_TRUE(fs::exists(family("my.arc")));
  EXPECT_FALSE(fs::exists(family("my.arc.zip")));
}

// An archive left by an interrupted run must not lend its entries to the new one.
TEST_F(ZipExe, LeftoverArchiveIsReplacedNotAddedTo) {
  ASSERT_EQ(zip("photo1.jpg\r\n").status, 0);
  ASSERT_EQ(zip("tree.paf\r\n").status, 0);
  EXPECT_EQ(entryNames(), std::vector<std::string>{"tree.paf"});
}

TEST_F(ZipExe, NothingFoundGivesInfoZipsStatusAndNoArchive) {
  ASSERT_EQ(zip("photo1.jpg\r\n").status, 0);
  const ToolRun run = zip(" -- none found --\r\n");
  EXPECT_EQ(run.status, kNothingToDo) << run.errors;
  EXPECT_FALSE(fs::exists(family("1kvr4959.zip")));
}

}  // namespace
