// Adding pages: in the last segment, as a new segment, and the cases where no page may be added.
#include <cstring>

#include "tests/database/DatabaseTestSupport.h"

namespace {

std::string headerBytes(const CPAFDatabase& db) { return std::string(reinterpret_cast<const char*>(&db.header), sizeof db.header); }

TEST_F(DatabaseTest, PageIsAddedAfterThePagesInUseAndListedInTheIndex) {
  PafBuilder b = smallFamily(132);  // exactly one full link page
  PafImage image = b.build();
  CPAFDatabase& db = open(image);
  const int used = db.header.pagesUsedInLastSegment;
  const int linkPages = db.header.mediaLinkPageCount;
  const std::int16_t tableEntry = db.pageCounts[fx::kMediaLinkPage - 1];
  MediaLinkRecord link;
  ASSERT_FALSE(db.ReadMediaLink(&link, 133));

  const int page = db.AllocatePage(fx::kMediaLinkPage);
  EXPECT_EQ(page, fx::pageOffset(0, used));
  EXPECT_EQ(static_cast<int>(db.header.pagesUsedInLastSegment), used + 1);
  EXPECT_EQ(static_cast<int>(db.header.mediaLinkPageCount), linkPages + 1);
  EXPECT_EQ(db.pageCounts[fx::kMediaLinkPage - 1], tableEntry + 1);
  // The new page ends the type's group: record 133 is its first slot.
  EXPECT_EQ(db.RecordOffset(133, fx::kMediaLinkPage, fx::kMediaLinkSize, 132), page);
  EXPECT_TRUE(db.ReadMediaLink(&link, 133));

  // On disk: the map byte, the zero page, the table entry and the whole header, stamped "500".
  EXPECT_EQ(static_cast<unsigned char>(fileBytes(fx::mapByteOffset(0, used), 1)[0]), fx::kMediaLinkPage);
  EXPECT_EQ(fileBytes(page, fx::kPageSize), std::string(fx::kPageSize, '\0'));
  EXPECT_EQ(fileBytes(fx::pageCountOffset(0, fx::kMediaLinkPage), 2), std::string(reinterpret_cast<const char*>(&db.pageCounts[19]), 2));
  EXPECT_EQ(fileBytes(0, 4), std::string("500\0", 4));
  EXPECT_EQ(fileBytes(0, fx::kHeaderSize), headerBytes(db));
  // Bytes of the header the engine does not know are written back as they were.
  EXPECT_EQ(fileBytes(1000, 600), image.read(1000, 600));

  CPAFDatabase again;
  db_.reset();
  ASSERT_EQ(again.Open(kDatabasePath, false), 1);
  EXPECT_TRUE(again.ReadMediaLink(&link, 133));
}

TEST_F(DatabaseTest, FullLastSegmentGetsANewSegment) {
  PafBuilder b = smallFamily(1);
  b.setPagesUsedInLastSegment(fx::kPagesPerSegment);
  CPAFDatabase& db = open(b.build());
  ASSERT_EQ(static_cast<int>(db.header.segmentCount), 1);

  const int page = db.AllocatePage(fx::kTextPage);
  EXPECT_EQ(page, fx::pageOffset(1, 1));
  EXPECT_EQ(static_cast<int>(db.header.segmentCount), 2);
  EXPECT_EQ(static_cast<int>(db.header.pagesUsedInLastSegment), 2);
  EXPECT_EQ(db.pageCounts[32 + fx::kTextPage - 1], 1);
  const std::string map = fileBytes(fx::segmentOffset(1), 2);
  EXPECT_EQ(map[0], fx::kMapPage);
  EXPECT_EQ(map[1], fx::kTextPage);

  db_.reset();
  CPAFDatabase again;
  ASSERT_EQ(again.Open(kDatabasePath, false), 1);
  EXPECT_EQ(static_cast<int>(again.header.segmentCount), 2);
}

struct RefusedCase {
  const char* name;
  int segments;
  int pagesUsed;
  int type;
};

class RefusedAllocationTest : public DatabaseTest, public ::testing::WithParamInterface<RefusedCase> {};

// No page: result 0, nothing in memory changed, nothing written.
TEST_P(RefusedAllocationTest, ChangesNothing) {
  const RefusedCase& c = GetParam();
  PafBuilder b = smallFamily(1);
  b.setSegmentCount(c.segments);
  PafImage image = b.build();
  image.patchInt32(fx::kPagesUsedInLastSegmentOffset, c.pagesUsed);
  CPAFDatabase& db = open(image);
  const std::string header = headerBytes(db);
  std::int16_t table[fx::kPageCountTableEntries];
  std::memcpy(table, db.pageCounts, sizeof table);

  EXPECT_EQ(db.AllocatePage(c.type), 0);
  EXPECT_EQ(headerBytes(db), header);
  EXPECT_EQ(std::memcmp(table, db.pageCounts, sizeof table), 0);
  EXPECT_EQ(fileBytes(0, fx::kFirstSegmentOffset + fx::kPageSize), image.read(0, fx::kFirstSegmentOffset + fx::kPageSize));
  EXPECT_EQ(fileBytes(fx::segmentOffset(c.segments - 1), 2 * fx::kPageSize),
            image.read(fx::segmentOffset(c.segments - 1), 2 * fx::kPageSize));
}

const RefusedCase kRefused[] = {
    // A 32nd segment would lie beyond signed 32-bit offsets.
    {"ThirtySecondSegment", 31, fx::kPagesPerSegment, fx::kTextPage},
    // The page the header names is in use: handing it out would wipe somebody's records.
    {"PageInUse", 1, 1, fx::kTextPage},
    {"MapPage", 1, 0, fx::kTextPage},
    {"NegativePagesUsed", 1, -5, fx::kTextPage},
    {"TypeZero", 1, 100, 0},
    {"TypeAboveThirtyTwo", 1, 100, 33},
    {"SegmentMapType", 1, 100, fx::kMapPage},
};

INSTANTIATE_TEST_SUITE_P(Allocations, RefusedAllocationTest, ::testing::ValuesIn(kRefused),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(DatabaseTest, NoSegmentsNoPage) {
  PafImage image = smallFamily(1).build();
  image.patchInt32(fx::kSegmentCountOffset, 0);
  CPAFDatabase& db = open(image);
  EXPECT_EQ(db.AllocatePage(fx::kTextPage), 0);
  TextRecord r{};
  std::strcpy(r.text, "x");
  EXPECT_EQ(db.AddTextRecord(&r, 5, 0), 0);
}

TEST_F(DatabaseTest, ReadOnlyAllocationChangesMemoryOnly) {
  PafImage image = smallFamily(1).build();
  install(image);
  CPAFDatabase db;
  ASSERT_EQ(db.Open(kDatabasePath, true), 1);
  const int used = db.header.pagesUsedInLastSegment;
  EXPECT_EQ(db.AllocatePage(fx::kTextPage), fx::pageOffset(0, used));
  EXPECT_EQ(static_cast<int>(db.header.pagesUsedInLastSegment), used + 1);
  EXPECT_EQ(fileBytes(0, image.size()), image.bytes());
}

}  // namespace
