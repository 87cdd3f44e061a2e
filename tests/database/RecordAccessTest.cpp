// Fixed-size records by number: where each number lands, numbers without a page, and writing a
// link record back in place.
#include <climits>
#include <cstring>

#include "tests/database/DatabaseTestSupport.h"

namespace {

std::string recordBytes(const MediaLinkRecord& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof r); }

// Links 1..n whose owner number is their own number, so a record read shows where it came from.
PafBuilder numberedLinks(int n) {
  PafBuilder b;
  b.addIndividual();
  b.addText("Marlow", 1);
  const TextId path = b.pathText("Photos\\a.jpg");
  for (int i = 1; i <= n; ++i) b.addMediaLink(MediaLink{fx::kOwnerIndividual, i, path, 0});
  return b;
}

struct LayoutCase {
  const char* name;
  std::vector<PagePlace> linkPages;  // in any physical order
  std::vector<int> numbers;          // numbers to check against the writer's own placement
};

class RecordLayoutTest : public DatabaseTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(RecordLayoutTest, NumbersLandWhereTheWriterPutThem) {
  const LayoutCase& c = GetParam();
  const int slots = static_cast<int>(c.linkPages.size()) * fx::recordsPerPage(fx::kMediaLinkPage);
  PafBuilder b = numberedLinks(slots);
  b.placePages(fx::kMediaLinkPage, c.linkPages);
  b.setMapByte(0, 40, 0);    // held unused
  b.setMapByte(0, 41, 200);  // junk: not a page of any type
  PafImage image = b.build();
  CPAFDatabase& db = open(image);
  for (int n : c.numbers) {
    SCOPED_TRACE(n);
    EXPECT_EQ(db.RecordOffset(n, fx::kMediaLinkPage, fx::kMediaLinkSize, 132), image.recordOffset(fx::kMediaLinkPage, n));
    MediaLinkRecord link;
    ASSERT_TRUE(db.ReadMediaLink(&link, n));
    EXPECT_EQ(static_cast<int>(link.ownerNumber), n);
  }
  MediaLinkRecord past;
  EXPECT_FALSE(db.ReadMediaLink(&past, slots + 1));
}

const LayoutCase kLayouts[] = {
    // Pages are numbered in ascending page order whatever order they were laid down in.
    {"TwoPagesOutOfOrder", {{0, 9}, {0, 3}}, {1, 132, 133, 264}},
    // k pages in segment 0: record k * 132 + 1 is slot 0 of segment 1's first page.
    {"SplitOverTwoSegments", {{1, 2}, {0, 9}, {0, 3}}, {1, 264, 265, 396}},
    {"MixedWithOtherTypes", {{0, 2}, {0, 30}, {0, 7}}, {1, 133, 265, 300}},
};

INSTANTIATE_TEST_SUITE_P(Layouts, RecordLayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(DatabaseTest, NumbersWithoutAPageGiveFalseAndAZeroBuffer) {
  PafBuilder b = numberedLinks(3);
  b.addPages(25, 4);  // a type the engine never reads, grouped right after the link pages
  PafImage image = b.build();
  // The table promises four more link pages in segment 0 than the map lists; record numbers
  // there must not reach into the pages of other types.
  image.patchInt16(fx::pageCountOffset(0, fx::kMediaLinkPage), 5);
  CPAFDatabase& db = open(image);
  for (int n : {0, -1, INT_MIN, 133, 400, 660, 661, INT_MAX}) {
    SCOPED_TRACE(n);
    MediaLinkRecord link;
    std::memset(&link, 0xAA, sizeof link);
    EXPECT_FALSE(db.ReadMediaLink(&link, n));
    EXPECT_EQ(recordBytes(link), std::string(sizeof link, '\0'));
    EXPECT_FALSE(db.WriteMediaLink(&link, n));
  }
  MediaLinkRecord first;
  EXPECT_TRUE(db.ReadMediaLink(&first, 1));
}

TEST_F(DatabaseTest, NegativePageCountsCountAsNoPages) {
  PafImage image = numberedLinks(3).build();
  image.patchInt16(fx::pageCountOffset(0, fx::kMediaLinkPage), -7);
  CPAFDatabase& db = open(image);
  MediaLinkRecord link;
  EXPECT_FALSE(db.ReadMediaLink(&link, 1));
  EXPECT_FALSE(db.ReadMediaLink(&link, 2));
}

TEST_F(DatabaseTest, RecordCutOffByTheEndOfTheFileIsNotRead) {
  PafImage image = numberedLinks(3).build();
  image.truncate(image.recordOffset(fx::kMediaLinkPage, 2) + 10);
  CPAFDatabase& db = open(image);
  MediaLinkRecord link;
  EXPECT_TRUE(db.ReadMediaLink(&link, 1));
  EXPECT_FALSE(db.ReadMediaLink(&link, 2));
  EXPECT_FALSE(db.ReadMediaLink(&link, 3));
}

TEST_F(DatabaseTest, OwnerRecordsReadTheirFields) {
  PafBuilder b;
  const int husband = b.addIndividual();
  const int wife = b.addIndividual();
  const int mrin = b.addMarriage(husband, wife);
  const int source = b.addSource("Parish clerk", "Register of St Mary");
  const int citation = b.addCitation(mrin, 'G');
  CPAFDatabase& db = open(b.build());

  IndividualRecord person;
  EXPECT_TRUE(db.ReadIndividual(&person, 1));
  EXPECT_TRUE(db.ReadIndividual(&person, wife));
  MarriageRecord marriage;
  ASSERT_TRUE(db.ReadMarriage(&marriage, mrin));
  EXPECT_EQ(static_cast<int>(marriage.husband), husband);
  EXPECT_EQ(static_cast<int>(marriage.wife), wife);
  SourceRecord src;
  ASSERT_TRUE(db.ReadSource(&src, source));
  EXPECT_STREQ(src.author, "Parish clerk");
  EXPECT_STREQ(src.title, "Register of St Mary");
  CitationRecord cite;
  ASSERT_TRUE(db.ReadCitation(&cite, citation));
  EXPECT_EQ(static_cast<int>(cite.ownerNumber), mrin);
  EXPECT_EQ(cite.ownerEvent, 'G');
  EXPECT_FALSE(db.ReadMarriage(&marriage, mrin + 77));
}

TEST_F(DatabaseTest, RepointedLinkChangesOnlyItsPathText) {
  PafBuilder b = smallFamily(0);
  const TextId oldPath = b.pathText("C:\\Family\\Photos\\me.jpg");
  const TextId newPath = b.pathText(".\\Photos\\me.jpg");
  b.addMediaLink(MediaLink{fx::kOwnerIndividual, 1, oldPath, 0});
  const int number = b.addMediaLink(MediaLink{fx::kOwnerMarriage, 7, oldPath, newPath});
  b.addMediaLink(MediaLink{fx::kOwnerIndividual, 1, oldPath, 0});
  PafImage image = b.build();
  CPAFDatabase& db = open(image);

  MediaLinkRecord link;
  ASSERT_TRUE(db.ReadMediaLink(&link, number));
  const std::string before = recordBytes(link);
  EXPECT_EQ(link.ownerType, fx::kOwnerMarriage);
  link.pathText = static_cast<std::int32_t>(image.textOffset(newPath));
  ASSERT_TRUE(db.WriteMediaLink(&link, number));

  MediaLinkRecord again;
  ASSERT_TRUE(db.ReadMediaLink(&again, number));
  std::string after = recordBytes(again);
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i >= 12 && i < 16) continue;
    EXPECT_EQ(after[i], before[i]) << "byte " << i;
  }
  TextRecord text;
  ASSERT_NE(db.GetText(again.pathText, &text), nullptr);
  EXPECT_STREQ(text.text, ".\\Photos\\me.jpg");
  // The neighbours in the page are untouched, on disk too.
  const std::int64_t at = image.recordOffset(fx::kMediaLinkPage, number);
  EXPECT_EQ(fileBytes(at - fx::kMediaLinkSize, fx::kMediaLinkSize), image.read(at - fx::kMediaLinkSize, fx::kMediaLinkSize));
  EXPECT_EQ(fileBytes(at + fx::kMediaLinkSize, fx::kMediaLinkSize), image.read(at + fx::kMediaLinkSize, fx::kMediaLinkSize));
  EXPECT_EQ(fileBytes(at, fx::kMediaLinkSize), after);
}

TEST_F(DatabaseTest, ReadOnlyWritesReportSuccessAndChangeNothing) {
  PafImage image = numberedLinks(2).build();
  install(image);
  CPAFDatabase db;
  ASSERT_EQ(db.Open(kDatabasePath, true), 1);
  MediaLinkRecord link;
  ASSERT_TRUE(db.ReadMediaLink(&link, 1));
  link.pathText = 12345;
  EXPECT_TRUE(db.WriteMediaLink(&link, 1));
  EXPECT_EQ(fileBytes(0, image.size()), image.bytes());
}

}  // namespace
