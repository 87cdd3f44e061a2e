// The report texts: listings of a list, the missing files with the description of the record
// that references each one, and the file-name pattern of the missing files. Descriptions read
// marriages, citations and sources from a database written by the fixture writer.
#include "media/Reports.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "tests/support/PafFixture.h"
#include "tests/support/PafImage.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fx = corvane::testing::paf;
using corvane::testing::PafBuilder;
using corvane::testing::PafImage;

using Paths = std::vector<std::string>;

// Every byte of the value, up to its length: a zero byte counted into the length shows.
std::string bytesOf(const Str& text) { return std::string(text.cStr(), static_cast<std::size_t>(text.size())); }

std::unique_ptr<FileList> listOf(const Paths& paths) {
  auto list = std::make_unique<FileList>(paths.front().c_str());
  for (std::size_t i = 1; i < paths.size(); ++i) list->append(new FileList(paths[i].c_str()));
  return list;
}

std::unique_ptr<FileList> entryOwnedBy(std::uint8_t ownerType, std::int32_t ownerRecord) {
  auto entry = std::make_unique<FileList>("C:\\Pics\\a.jpg");
  entry->setOwner(1, ownerRecord, ownerType);
  return entry;
}

// ---------------------------------------------------------------------------------------------
// Plain listings and extensions: no database involved.

TEST(ListText, OneEntryEndsWithoutLineEndSeveralEachEndWithOne) {
  struct Case {
    Paths paths;
    std::string text;
  };
  const Case cases[] = {
      {{"C:\\a.jpg"}, "C:\\a.jpg"},
      {{"--"}, ""},
      {{""}, ""},
      {{"C:\\a.jpg", "C:\\b.jpg"}, "C:\\a.jpg\nC:\\b.jpg\n"},
      {{"C:\\a.jpg", "C:\\a.jpg", ".\\c.tif"}, "C:\\a.jpg\nC:\\a.jpg\n.\\c.tif\n"},
      // The marker is only left out when it stands alone.
      {{"--", "C:\\a.jpg"}, "--\nC:\\a.jpg\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bytesOf(listText(listOf(c.paths).get())), c.text) << ::testing::PrintToString(c.paths);
  }
}

TEST(ListText, NullListGivesEmptyTextInsteadOfCrashing) {
  EXPECT_EQ(bytesOf(listText(nullptr)), "");
  EXPECT_EQ(bytesOf(missingText(nullptr)), "");
  EXPECT_EQ(bytesOf(extensionPattern(nullptr)), "");
}

TEST(ExtensionOf, RunsFromTheLastDotOfTheWholePath) {
  struct Case {
    const char* path;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\Pics\\a.jpg", ".jpg"},
      {"C:\\Pics\\a.tar.gz", ".gz"},
      {"d", ""},
      {"C:\\Pics\\a.", "."},
      {"C:\\my.pics\\scan", ".pics\\scan"},
      // Longer than the eleven characters a short working buffer would hold: taken whole.
      {"C:\\Pics\\a.photograph_original", ".photograph_original"},
      {"C:\\my.family.pictures\\scans\\2005\\page one", ".pictures\\scans\\2005\\page one"},
  };
  for (const Case& c : cases) {
    FileList entry(c.path);
    EXPECT_EQ(bytesOf(extensionOf(entry)), c.extension) << c.path;
  }
}

TEST(ExtensionPattern, AddsEachExtensionNotYetOccurringAsPlainText) {
  struct Case {
    Paths paths;
    std::string pattern;
  };
  const Case cases[] = {
      {{"a.jpg", "b.JPG", "c.jpg", "d", "e.tif"}, "*.jpg;*.JPG;*.tif"},
      // .tif occurs inside ;*.tiff already; the other way round both are added.
      {{"a.tiff", "b.tif"}, "*.tiff"},
      {{"a.tif", "b.tiff"}, "*.tif;*.tiff"},
      {{"C:\\P\\a.jpeg", "C:\\P\\b.jpg", "C:\\P\\c.jp"}, "*.jpeg;*.jpg"},
      {{"d"}, ""},
      {{"--"}, ""},
      {{"d", "e", "f.png"}, "*.png"},
      {{"C:\\my.pics\\scan", "x.jpg"}, "*.pics\\scan;*.jpg"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bytesOf(extensionPattern(listOf(c.paths).get())), c.pattern) << ::testing::PrintToString(c.paths);
  }
}

// ---------------------------------------------------------------------------------------------
// Descriptions read through the database that FileList::setDatabase names.

constexpr char16_t kDatabasePath[] = u"C:\\Family\\tree.paf";

// Record numbers of the family below.
constexpr int kHusband = 12;
constexpr int kWife = 13;
constexpr int kBothSpouses = 1;  // husband 12, wife 13
constexpr int kOnlyWife = 2;     // wife 13
constexpr int kNoSpouse = 3;
constexpr int kOnlyHusband = 4;  // husband 12
constexpr int kNoSuchRecord = 999;

constexpr int kParishSource = 1;    // author and title set
constexpr int kBlankSource = 2;     // both empty
constexpr int kUnendedSource = 3;   // author and title fill their fields without terminator

const std::string kLongAuthor(fx::kSourceAuthorSize, 'A');
const std::string kLongTitle(fx::kSourceTitleSize, 'T');

class ReportsTest : public ::testing::Test {
 protected:
  ReportsTest() { prefix_.addDrive('C'); }
  ~ReportsTest() override { FileList::setDatabase(nullptr); }

  void open(const PafImage& image) {
    image.writeTo(prefix_.host("C:\\Family\\tree.paf"));
    db_ = std::make_unique<CPAFDatabase>();
    ASSERT_EQ(db_->Open(kDatabasePath, true), CPAFDatabase::kOpened);
    FileList::setDatabase(db_.get());
  }

  static PafBuilder family() {
    PafBuilder b;
    b.addIndividual();
    b.addMarriage(kHusband, kWife);  // 1
    b.addMarriage(0, kWife);         // 2
    b.addMarriage(0, 0);             // 3
    b.addMarriage(kHusband, 0);      // 4
    b.addSource("Ellery Marlow", "Parish register of St Anne, 1841-1860");
    b.addSource("", "");
    b.addRecord(fx::kSourcePage, kLongAuthor + kLongTitle);
    return b;
  }

  corvane::testing::TempPrefix prefix_;
  std::unique_ptr<CPAFDatabase> db_;
};

TEST_F(ReportsTest, MarriageNamesHusbandElseWifeElseSaysNeitherOrLookupFailed) {
  open(family().build());
  struct Case {
    std::int32_t mrin;
    std::string text;
  };
  const Case cases[] = {
      {kBothSpouses, "\n  where the husband is Rin: 12"},
      {kOnlyHusband, "\n  where the husband is Rin: 12"},
      {kOnlyWife, "\n  where the wife is Rin: 13"},
      {kNoSpouse, "\n  no husband or wife link for MRin: 3"},
      {kNoSuchRecord, "\n  mrin lookup failed on MRin: 999"},
      {0, "\n  mrin lookup failed on MRin: 0"},
      {-7, "\n  mrin lookup failed on MRin: -7"},
      {INT_MIN, "\n  mrin lookup failed on MRin: -2147483648"},
  };
  for (const Case& c : cases) EXPECT_EQ(bytesOf(marriageText(c.mrin)), c.text) << c.mrin;
}

TEST_F(ReportsTest, DescriptionFollowsTheOwnerTypeReadUnsigned) {
  open(family().build());
  const std::string parish =
      " referenced from a Source record with\n Author: Ellery Marlow\n Title: Parish register of St Anne, 1841-1860\n;\n";
  const std::string blankSource = " referenced from a Source record with\n Author: \n Title: \n;\n";
  struct Case {
    unsigned ownerType;
    std::int32_t ownerRecord;
    std::string text;
  };
  const Case cases[] = {
      {100, 42, " referenced from Rin 42;\n"},
      {100, -42, " referenced from Rin -42;\n"},
      {100, INT_MAX, " referenced from Rin 2147483647;\n"},
      {102, 7, " referenced from MRin 7;\n"},
      {102, INT_MIN, " referenced from MRin -2147483648;\n"},
      {129, kParishSource, parish},
      {129, kBlankSource, blankSource},
      // A field filled to its end without terminator ends with the field.
      {129, kUnendedSource,
       " referenced from a Source record with\n Author: " + kLongAuthor + "\n Title: " + kLongTitle + "\n;\n"},
      // A source that cannot be read reads as empty author and title.
      {129, kNoSuchRecord, blankSource},
      {129, 0, blankSource},
      {129, -1, blankSource},
      {131, 5, "referenced with owner type = 132\n ;\n"},
      // A citation record that cannot be read has the zero character as its event.
      {132, kNoSuchRecord, "referenced from a citation record\n with unknown owner_type: ;\n"},
      {132, -3, "referenced from a citation record\n with unknown owner_type: ;\n"},
      {0, 42, ";\n"},
      {1, 42, ";\n"},
      {101, 42, ";\n"},
      {127, 42, ";\n"},
      {128, 42, ";\n"},
      {130, 42, ";\n"},
      {200, 42, ";\n"},
      {255, 42, ";\n"},
  };
  for (const Case& c : cases) {
    const auto entry = entryOwnedBy(static_cast<std::uint8_t>(c.ownerType), c.ownerRecord);
    EXPECT_EQ(bytesOf(referenceText(*entry)), c.text) << "owner type " << c.ownerType << ", record " << c.ownerRecord;
  }
}

TEST_F(ReportsTest, CitationDescriptionFollowsItsEventLetterExactly) {
  struct Case {
    char event;
    std::int32_t ownerNumber;
    std::string text;
  };
  const std::string marriageEvent = "  referenced from the citation\n  on the marriage event of MRin: ";
  const std::string unknown = "referenced from a citation record\n with unknown owner_type: ";
  const Case cases[] = {
      {'A', 5, "  referenced from the citation\n  on the baptism event of Rin: 5;\n"},
      {'B', -5, "  referenced from the citation\n  on the birth event of Rin: -5;\n"},
      {'D', 6, "  referenced from the citation\n  on the death event of Rin: 6;\n"},
      {'E', kOnlyHusband, "  referenced from the citation\n  on the endow event of MRin: 4;\n"},
      {'G', kBothSpouses, marriageEvent + "1\n  where the husband is Rin: 12;\n"},
      {'G', kOnlyWife, marriageEvent + "2\n  where the wife is Rin: 13;\n"},
      {'G', kNoSpouse, marriageEvent + "3\n  no husband or wife link for MRin: 3;\n"},
      {'G', kNoSuchRecord, marriageEvent + "999\n  mrin lookup failed on MRin: 999;\n"},
      {'I', 8, "  referenced from the 'sources'\n  button for Rin: 8;\n"},
      {'M', kOnlyWife,
       "  referenced from the 'sources'\n  button for MRin: 2\n  where the wife is Rin: 13;\n"},
      {'M', 0, "  referenced from the 'sources'\n  button for MRin: 0\n  mrin lookup failed on MRin: 0;\n"},
      {'R', 9, "  referenced from the citation\n  on the burial event of Rin: 9;\n"},
      {'S', kOnlyHusband, marriageEvent + "4\n  where the husband is Rin: 12;\n"},
      {'C', 5, unknown + "C;\n"},
      {'g', kBothSpouses, unknown + "g;\n"},
      {'\xE9', 5, unknown + "\xE9;\n"},
      {'\0', 5, unknown + ";\n"},
  };
  PafBuilder b = family();
  for (const Case& c : cases) b.addCitation(c.ownerNumber, c.event);
  open(b.build());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const auto entry = entryOwnedBy(132, static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(bytesOf(referenceText(*entry)), c.text)
        << "event " << static_cast<int>(static_cast<unsigned char>(c.event)) << ", owner " << c.ownerNumber;
  }
}

// A record cut off by the end of the file counts as all zero bytes, not as the bytes that
// could be read.
TEST_F(ReportsTest, RecordCutShortByTheEndOfFileReadsAsZeroBytes) {
  PafBuilder b;
  b.addIndividual();
  b.addSource("Ellery Marlow", "Parish register");
  b.addSource("Cut-off author", "Cut-off title");
  b.placePages(fx::kSourcePage, {{0, 60}});  // after every other page, so the cut hits it only
  PafImage image = b.build();
  image.truncate(image.recordOffset(fx::kSourcePage, 2) + fx::kSourceTitle + 4);
  open(image);
  EXPECT_EQ(bytesOf(referenceText(*entryOwnedBy(129, 1))),
            " referenced from a Source record with\n Author: Ellery Marlow\n Title: Parish register\n;\n");
  EXPECT_EQ(bytesOf(referenceText(*entryOwnedBy(129, 2))),
            " referenced from a Source record with\n Author: \n Title: \n;\n");
}

TEST(ReportsWithoutDatabase, RecordsReadAsUnreadable) {
  FileList::setDatabase(nullptr);
  EXPECT_EQ(bytesOf(marriageText(1)), "\n  mrin lookup failed on MRin: 1");
  EXPECT_EQ(bytesOf(referenceText(*entryOwnedBy(129, 1))), " referenced from a Source record with\n Author: \n Title: \n;\n");
  EXPECT_EQ(bytesOf(referenceText(*entryOwnedBy(132, 1))),
            "referenced from a citation record\n with unknown owner_type: ;\n");
}

TEST_F(ReportsTest, MissingTextPutsEachPathOverItsDescription) {
  PafBuilder b = family();
  b.addCitation(kOnlyWife, 'G');
  open(b.build());

  auto list = std::make_unique<FileList>("C:\\Pics\\a.jpg");
  list->setOwner(1, 42, 100);
  auto add = [&list](const char* path, std::uint8_t ownerType, std::int32_t ownerRecord) {
    auto* entry = new FileList(path);
    entry->setOwner(2, ownerRecord, ownerType);
    list->append(entry);
  };
  add(".\\Photos\\wedding.jpg", 132, 1);
  add("scan.tif", 129, kParishSource);
  add("C:\\Pics\\a.jpg", 200, 1);
  EXPECT_EQ(bytesOf(missingText(list.get())),
            "C:\\Pics\\a.jpg\n referenced from Rin 42;\n"
            ".\\Photos\\wedding.jpg\n  referenced from the citation\n  on the marriage event of MRin: 2"
            "\n  where the wife is Rin: 13;\n"
            "scan.tif\n referenced from a Source record with\n Author: Ellery Marlow\n"
            " Title: Parish register of St Anne, 1841-1860\n;\n"
            "C:\\Pics\\a.jpg\n;\n");

  FileList marker(FileList::kEmptyMarker);
  EXPECT_EQ(bytesOf(missingText(&marker)), "--\n;\n");
}

}  // namespace
