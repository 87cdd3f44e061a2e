// The link repair: which missing entries a found file stands for, which path text their link
// records get (an existing one, or a new one in the ".\" form), what is written into the
// database file, and how the entries leave missingList.
#include "media/LinkRepair.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/media/FamilyFixture.h"

namespace {

using Paths = std::vector<std::string>;

TEST(FileNameOf, IsThePartAfterTheLastSeparatorOfAnyKind) {
  struct Case {
    const char* path;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Fam\\Photos\\me.jpg", "me.jpg"}, {"me.jpg", "me.jpg"},       {"C:me.jpg", "me.jpg"},
      {"C:/Pics\\a/b.jpg", "b.jpg"},         {"D:\\Pics\\", ""},          {"C:", ""},
      {"", ""},                              {".\\Photos\\ME.JPG", "ME.JPG"},
  };
  for (const Case& c : cases) EXPECT_STREQ(fileNameOf(c.path).cStr(), c.name) << c.path;
}

// ---------------------------------------------------------------------------------------------
// The path text a repaired link gets.

struct TextCase {
  const char* name;
  std::vector<std::pair<std::string, int>> texts;  // texts already in the file, with their kind
  bool normalizePaths;
  const char* file;
  const char* linkText;  // the link record's path text afterwards
  int textsAdded;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class RepairedLinkText : public FamilyFixture, public ::testing::WithParamInterface<TextCase> {};

TEST_P(RepairedLinkText, PointsAtExistingTextOrAddsOneAndLeavesTheList) {
  const TextCase& c = GetParam();
  const int link = addLink("Photos\\old\\me.jpg");
  for (const auto& [text, kind] : c.texts) family_.addText(text, kind);
  open();
  form_->normalizePaths = c.normalizePaths;
  std::unique_ptr<FileList> missing;
  addMissing(missing, "Photos\\old\\me.jpg", link);

  missing->repairFromFile(c.file);

  EXPECT_EQ(linkPathOnDisk(link), c.linkText);
  EXPECT_EQ(textsAdded(), c.textsAdded);
  EXPECT_TRUE(form_->linksChanged);
  EXPECT_FALSE(missing->hasEntries());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairedLinkText,
    ::testing::Values(
        TextCase{"NewTextUnderTheDatabaseFolderInDotForm", {}, true, "C:\\Fam\\Photos\\me.jpg", ".\\Photos\\me.jpg", 1},
        TextCase{"ExistingFullPathReused", {{"C:\\Fam\\Photos\\me.jpg", 5}}, true, "C:\\Fam\\Photos\\me.jpg",
                 "C:\\Fam\\Photos\\me.jpg", 0},
        TextCase{"ExistingDotFormReused", {{".\\Photos\\me.jpg", 5}}, true, "C:\\Fam\\Photos\\me.jpg",
                 ".\\Photos\\me.jpg", 0},
        TextCase{"FullPathLookedUpFirst", {{".\\Photos\\me.jpg", 5}, {"C:\\Fam\\Photos\\me.jpg", 5}}, true,
                 "C:\\Fam\\Photos\\me.jpg", "C:\\Fam\\Photos\\me.jpg", 0},
        TextCase{"TextOfAnotherKindNotReused", {{"C:\\Fam\\Photos\\me.jpg", 7}}, true, "C:\\Fam\\Photos\\me.jpg",
                 ".\\Photos\\me.jpg", 1},
        TextCase{"OutsideTheDatabaseFolderFullPath", {}, true, "D:\\Pics\\me.jpg", "D:\\Pics\\me.jpg", 1},
        TextCase{"WithoutNormalizingTheNewTextIsTheFullPath", {}, false, "C:\\Fam\\Photos\\me.jpg",
                 "C:\\Fam\\Photos\\me.jpg", 1}),
    [](const ::testing::TestParamInfo<TextCase>& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------------------------
// Entries the file does not stand for, or cannot be written for: the entry stays, the record
// stays as it was.

struct LeftAloneCase {
  const char* name;
  const char* linkText;   // the link record's path text
  const char* entryPath;  // the missing entry's path
  int linkNumber;         // 0: the link record made for the entry
  std::string file;
};

void PrintTo(const LeftAloneCase& c, std::ostream* out) { *out << c.name; }

class EntryLeftMissing : public FamilyFixture, public ::testing::WithParamInterface<LeftAloneCase> {};

TEST_P(EntryLeftMissing, RecordUnwrittenEntryKept) {
  const LeftAloneCase& c = GetParam();
  const int link = addLink(c.linkText);
  open();
  const std::int32_t before = pathTextOnDisk(link);
  std::unique_ptr<FileList> missing;
  addMissing(missing, c.entryPath, c.linkNumber != 0 ? c.linkNumber : link);

  missing->repairFromFile(c.file.c_str());

  EXPECT_EQ(pathTextOnDisk(link), before);
  EXPECT_EQ(textsAdded(), 0);
  EXPECT_FALSE(form_->linksChanged);
  EXPECT_EQ(pathsOf(*missing), Paths{c.entryPath});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryLeftMissing,
    ::testing::Values(
        LeftAloneCase{"NameDiffersInLetterCase", "Photos\\me.jpg", "Photos\\me.jpg", 0, "C:\\Fam\\ME.JPG"},
        LeftAloneCase{"RecordNowNamesAnotherFile", "Photos\\other.jpg", "Photos\\me.jpg", 0, "C:\\Fam\\me.jpg"},
        LeftAloneCase{"LinkRecordUnreadable", "Photos\\me.jpg", "Photos\\me.jpg", 99, "C:\\Fam\\me.jpg"},
        // 268 bytes: no text record holds it, and nothing may be written beyond one.
        LeftAloneCase{"PathTooLongForATextRecord", "Photos\\me.jpg", "Photos\\me.jpg", 0,
                      "D:\\" + std::string(258, 'x') + "\\me.jpg"},
        LeftAloneCase{"PathEndingInASeparatorIsNoFile", "Photos\\", "Photos\\", 0, "C:\\Fam\\"}),
    [](const ::testing::TestParamInfo<LeftAloneCase>& p) { return std::string(p.param.name); });

class LinkRepair : public FamilyFixture {};

TEST_F(LinkRepair, NewTextTheFileCannotTakeLeavesRecordAsItWasAndEntryMissing) {
  const int link = addLink("Photos\\old\\me.jpg");
  // The last text page is full, and the next free page is taken by junk: no text can be added.
  family_.leaveTextRoom(0);
  family_.setMapByte(0, 100, 40);
  family_.setPagesUsedInLastSegment(100);
  open();
  std::unique_ptr<FileList> missing;
  addMissing(missing, "Photos\\old\\me.jpg", link);

  missing->repairFromFile("C:\\Fam\\Photos\\me.jpg");

  EXPECT_EQ(linkPathOnDisk(link), "Photos\\old\\me.jpg");
  EXPECT_FALSE(form_->linksChanged);
  EXPECT_TRUE(missing->hasEntries());
}

TEST_F(LinkRepair, TwoRecordsOfTheSameNameEachGetATextOfTheirOwn) {
  const int first = addLink("a\\me.jpg");
  const int second = addLink("b\\me.jpg");
  open();
  std::unique_ptr<FileList> missing;
  addMissing(missing, "a\\me.jpg", first);
  addMissing(missing, "b\\me.jpg", second);

  missing->repairFromFile("C:\\Fam\\Photos\\me.jpg");

  EXPECT_EQ(linkPathOnDisk(first), ".\\Photos\\me.jpg");
  EXPECT_EQ(linkPathOnDisk(second), ".\\Photos\\me.jpg");
  EXPECT_NE(pathTextOnDisk(first), pathTextOnDisk(second));
  EXPECT_EQ(textsAdded(), 2);
  EXPECT_FALSE(missing->hasEntries());
}

TEST_F(LinkRepair, RemovalKeepsTheFirstEntryObjectAndTheListsEnd) {
  struct Case {
    Paths entries;
    Paths left;
  };
  const Case cases[] = {
      {{"a\\me.jpg", "b\\you.jpg", "c\\me.jpg"}, {"b\\you.jpg"}},
      {{"b\\you.jpg", "a\\me.jpg", "c\\me.jpg"}, {"b\\you.jpg"}},
      {{"a\\me.jpg", "c\\me.jpg", "b\\you.jpg"}, {"b\\you.jpg"}},
      {{"b\\you.jpg", "a\\me.jpg", "d\\you.jpg"}, {"b\\you.jpg", "d\\you.jpg"}},
  };
  std::vector<int> links;
  for (const char* path : {"a\\me.jpg", "b\\you.jpg", "c\\me.jpg", "d\\you.jpg"}) links.push_back(addLink(path));
  open();
  const auto linkOf = [&](const std::string& path) {
    return links[static_cast<std::size_t>(path[0] - 'a')];
  };

  for (const Case& c : cases) {
    std::unique_ptr<FileList> missing;
    for (const std::string& path : c.entries) addMissing(missing, path, linkOf(path));
    const FileList* const first = missing.get();

    missing->repairFromFile("C:\\Fam\\Photos\\me.jpg");

    ASSERT_EQ(missing.get(), first);
    EXPECT_EQ(pathsOf(*missing), c.left) << ::testing::PrintToString(c.entries);
    EXPECT_EQ(missing->linkRecord, linkOf(c.left.front()));  // owner fields moved with the path
    missing->append(new FileList("z\\new.jpg"));
    Paths expected = c.left;
    expected.push_back("z\\new.jpg");
    EXPECT_EQ(pathsOf(*missing), expected) << "append after the removal";
  }
}

TEST_F(LinkRepair, OnlyEntryRepairedLeavesTheEmptyMarker) {
  const int link = addLink("a\\me.jpg");
  open();
  std::unique_ptr<FileList> missing;
  addMissing(missing, "a\\me.jpg", link);

  missing->repairFromFile("D:\\me.jpg");

  EXPECT_STREQ(missing->path.cStr(), FileList::kEmptyMarker);
  EXPECT_EQ(missing->next, nullptr);
  EXPECT_EQ(missing->linkRecord, 0);
  EXPECT_EQ(missing->ownerRecord, 0);
  EXPECT_EQ(missing->ownerType, 0);
  // A later file of the marker's own name finds nothing to repair in it.
  form_->linksChanged = false;
  missing->repairFromFile("D:\\--");
  EXPECT_FALSE(form_->linksChanged);
}

}  // namespace
