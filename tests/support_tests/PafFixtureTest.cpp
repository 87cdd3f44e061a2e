// Checks the fixture writer against the file format with its own small decoding, so that a
// fault in the writer cannot hide behind the same fault in the reader it is meant to test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/PafFixture.h"
#include "tests/support/TempFolder.h"

namespace corvane::testing {
namespace {

constexpr std::int64_t kSegment0 = 12288;
constexpr std::int64_t kSegmentBytes = std::int64_t{1} << 26;

std::int64_t page(int segment, int number) {
  return kSegment0 + segment * kSegmentBytes + std::int64_t{number} * 8192;
}

std::int32_t le32(const PafImage& image, std::int64_t offset) {
  const std::string b = image.read(offset, 4);
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(static_cast<std::size_t>(i)));
  return static_cast<std::int32_t>(v);
}

std::int16_t le16(const PafImage& image, std::int64_t offset) {
  const std::string b = image.read(offset, 2);
  return static_cast<std::int16_t>(static_cast<unsigned char>(b.at(0)) |
                                   (static_cast<unsigned char>(b.at(1)) << 8));
}

int byteAt(const PafImage& image, std::int64_t offset) {
  return static_cast<unsigned char>(image.read(offset, 1).at(0));
}

TEST(PafFixture, HeaderTableAndMapsAgreeForMixedPages) {
  PafBuilder b;
  for (int i = 0; i < 40; ++i) b.addIndividual();  // two pages: 37 per page
  b.addMarriage(1, 2);
  b.addMediaLink(100, 1, "a.jpg");
  b.addMediaLink(102, 1, "b.jpg");
  b.addPages(9, 2);            // a type that readers skip
  b.setMapByte(0, 4, 200);     // junk
  b.setMapByte(0, 2, 0);       // kept unused
  b.placePages(20, {{0, 12}, {0, 3}});
  const PafImage image = b.build();

  EXPECT_EQ(image.read(0, 4), "V499");
  EXPECT_EQ(image.read(8, 4), std::string("PAF\0", 4));
  EXPECT_EQ(le32(image, 18), 1);  // segmentCount
  EXPECT_EQ(le32(image, 14), 13);  // pages 0..12 in use
  EXPECT_EQ(le32(image, 90), 2);   // textRecordCount
  EXPECT_EQ(le32(image, 270), 2);  // mediaLinkCount
  EXPECT_EQ(image.size(), page(0, 13));

  // Automatic pages take the free places in order: 1, 5, 6 (2 is held unused, 3 and 4 taken).
  const std::map<int, int> expectedMap = {{0, 11}, {1, 2}, {2, 0}, {3, 20}, {4, 200}, {5, 2},
                                          {6, 3},  {7, 9}, {8, 9}, {9, 1},  {10, 0},  {12, 20}};
  for (const auto& [p, type] : expectedMap) EXPECT_EQ(byteAt(image, kSegment0 + p), type) << p;

  const std::map<int, int> headerCountOffset = {{1, 94}, {2, 26}, {3, 134}, {9, 66}, {20, 274}};
  const std::map<int, int> pages = {{1, 1}, {2, 2}, {3, 1}, {9, 2}, {11, 1}, {20, 2}};
  for (int type = 1; type <= 32; ++type) {
    const int expected = pages.count(type) ? pages.at(type) : 0;
    EXPECT_EQ(le16(image, 4096 + 2 * (type - 1)), expected) << "type " << type;
    if (headerCountOffset.count(type)) {
      EXPECT_EQ(le32(image, headerCountOffset.at(type)), expected);
    }
  }
  // Records fill the lower page first; the page beyond them holds empty slots.
  EXPECT_EQ(byteAt(image, page(0, 3) + 29), 100);
  EXPECT_EQ(byteAt(image, page(0, 3) + 62 + 29), 102);
  EXPECT_EQ(image.read(page(0, 12), 8192), std::string(8192, '\0'));
}

TEST(PafFixture, RecordsLandAtComputedOffsetsAcrossTwoSegments) {
  PafBuilder b;
  for (int i = 1; i <= 300; ++i) b.addMediaLink(MediaLink{132, i, kNoText, kNoText});
  // Third page physically first in segment 1; the first two out of order in segment 0.
  b.placePages(20, {{1, 2}, {0, 9}, {0, 3}});
  b.addIndividual();
  PafImage image = b.build();

  struct Case {
    int number;
    std::int64_t offset;
  };
  const Case cases[] = {{1, page(0, 3)},
                        {132, page(0, 3) + 131 * 62},
                        {133, page(0, 9)},
                        {265, page(1, 2)},
                        {300, page(1, 2) + 35 * 62}};
  for (const Case& c : cases) {
    EXPECT_EQ(image.recordOffset(20, c.number), c.offset) << c.number;
    EXPECT_EQ(le32(image, c.offset), c.number) << c.number;  // ownerNumber
    EXPECT_EQ(byteAt(image, c.offset + 29), 132) << c.number;
  }
  EXPECT_EQ(image.recordOffset(20, 397), 0);  // beyond the third page's 132 slots
  EXPECT_EQ(image.recordOffset(20, 0), 0);

  EXPECT_EQ(le32(image, 18), 2);
  EXPECT_EQ(le32(image, 14), 3);
  EXPECT_EQ(byteAt(image, page(1, 0)), 11);
  EXPECT_EQ(le16(image, 4096 + 2 * (0 * 32 + 19)), 2);
  EXPECT_EQ(le16(image, 4096 + 2 * (1 * 32 + 19)), 1);
  EXPECT_EQ(le16(image, 4096 + 2 * (1 * 32 + 10)), 1);  // the second map page
  EXPECT_EQ(le32(image, 274), 3);
  EXPECT_EQ(le32(image, 18), 2);

  // On disk the 64 MiB between the segments is a hole.
  TempFolder folder;
  const auto path = folder.path() / "two.paf";
  image.writeTo(path);
  EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(page(1, 3)));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_LT(info.st_blocks * 512, 1 << 20);

  // Damage: a cut and a later lengthening read back as zeros, not as the old bytes.
  image.truncate(page(0, 3) + 10);
  image.patchByte(page(0, 3) + 100, 7);
  EXPECT_EQ(image.size(), page(0, 3) + 101);
  EXPECT_EQ(image.read(page(0, 3) + 10, 90), std::string(90, '\0'));
}

// Widening of the stored bytes this test uses: ASCII and two code page 1252 letters whose
// 16-bit units lie above every byte value.
char16_t widen(unsigned char c) {
  switch (c) {
    case 0x8A: return 0x0160;  // S with caron
    case 0x80: return 0x20AC;  // euro sign
    default: return c;
  }
}

struct Node {
  std::int32_t left, right, parent;
  int kind;
  std::u16string key;
};

Node readNode(const PafImage& image, std::int64_t offset) {
  Node node{le32(image, offset), le32(image, offset + 4), le32(image, offset + 8),
            static_cast<signed char>(image.read(offset + 12, 1).at(0)), {}};
  for (std::int64_t at = offset + 13;; ++at) {
    const auto c = static_cast<unsigned char>(image.read(at, 1).at(0));
    if (c == 0) break;
    node.key.push_back(widen(c));
  }
  return node;
}

bool keyBefore(const Node& a, const Node& b) {
  return a.key != b.key ? a.key < b.key : a.kind < b.kind;
}

// Walks the tree in order; checks parent links and the order, returns the offsets and depth.
void walk(const PafImage& image, std::int32_t offset, std::int32_t parent, int depth,
          std::vector<std::int32_t>* inOrder, int* maxDepth) {
  if (offset == 0) return;
  ASSERT_LE(inOrder->size(), 100000u) << "cycle";
  const Node node = readNode(image, offset);
  EXPECT_EQ(node.parent, parent);
  *maxDepth = std::max(*maxDepth, depth);
  walk(image, node.left, offset, depth + 1, inOrder, maxDepth);
  if (!inOrder->empty()) {
    EXPECT_TRUE(keyBefore(readNode(image, inOrder->back()), node)) << "out of order at " << offset;
  }
  inOrder->push_back(offset);
  walk(image, node.right, offset, depth + 1, inOrder, maxDepth);
}

TEST(PafFixture, TextTreesAreSearchTreesByTextThenKind) {
  for (const TreeShape shape : {TreeShape::kBalanced, TreeShape::kInsertionOrder}) {
    PafBuilder b;
    b.setTreeShape(shape);
    std::set<TextId> low, high;
    for (const char* text : {"m", "b", "\x8A", "\xFF", "\x80x", "Photos\\a.jpg", "photos\\a.jpg",
                             "Photos\\a", "", "z"}) {
      high.insert(b.addText(text, 5));
      high.insert(b.addText(text, 7));
      high.insert(b.addText(text, 4));
      low.insert(b.addText(text, 1));
    }
    low.insert(b.addText("m", -3));
    const TextId loose = b.addText("m", 5, false);
    const PafImage image = b.build();

    for (const bool isHigh : {false, true}) {
      std::vector<std::int32_t> inOrder;
      int depth = 0;
      walk(image, le32(image, isHigh ? 118 : 98), 0, 1, &inOrder, &depth);
      std::set<std::int64_t> expected;
      for (const TextId id : isHigh ? high : low) expected.insert(image.textOffset(id));
      EXPECT_EQ(std::set<std::int64_t>(inOrder.begin(), inOrder.end()), expected);
      EXPECT_EQ(inOrder.size(), expected.size());
    }
    const Node looseNode = readNode(image, image.textOffset(loose));
    EXPECT_EQ(looseNode.left | looseNode.right | looseNode.parent, 0);
    EXPECT_EQ(le32(image, 90), 42);
  }

  // Texts added in sorted order still give a shallow balanced tree.
  PafBuilder b;
  for (int i = 0; i < 1000; ++i) b.addText("t" + std::to_string(10000 + i), 5);
  const PafImage image = b.build();
  std::vector<std::int32_t> inOrder;
  int depth = 0;
  walk(image, le32(image, 118), 0, 1, &inOrder, &depth);
  EXPECT_EQ(inOrder.size(), 1000u);
  EXPECT_LE(depth, 10);
}

TEST(PafFixture, TextsPackIntoPagesAndTheAppendPositionLeavesTheRoomAskedFor) {
  struct Case {
    int texts;       // texts of 100 bytes (114 stored): 71 fill a page but 98 bytes
    int lastLength;  // then one text of this length; -1 none
    int room;        // leaveTextRoom; -1 not called
    int textPages;
    int appendPage;  // index among the text pages
    int roomLeft;    // textAppendEnd - textAppendOffset
  };
  const Case cases[] = {
      {3, -1, -1, 1, 0, 8192 - 3 * 114}, {71, 84, -1, 1, 0, 0},  {71, 85, -1, 2, 1, 8192 - 99},
      {3, -1, 27, 1, 0, 27},             {71, -1, 98, 1, 0, 98}, {71, -1, 99, 2, 1, 99},
      {71, -1, 0, 1, 0, 0},              {0, -1, 8192, 1, 0, 8192}};
  for (const Case& c : cases) {
    PafBuilder b;
    for (int i = 0; i < c.texts; ++i) b.addText(std::string(100, 'a'), 1);
    if (c.lastLength >= 0) b.addText(std::string(static_cast<std::size_t>(c.lastLength), 'z'), 1);
    if (c.room >= 0) b.leaveTextRoom(c.room);
    const PafImage image = b.build();
    const std::vector<PagePlace> pages = image.pagesOf(1);
    ASSERT_EQ(static_cast<int>(pages.size()), c.textPages) << c.texts << " " << c.lastLength;
    const PagePlace append = pages[static_cast<std::size_t>(c.appendPage)];
    const std::int64_t end = page(append.segment, append.page) + 8192;
    EXPECT_EQ(le32(image, 106), end);
    EXPECT_EQ(end - le32(image, 102), c.roomLeft) << c.texts << " " << c.lastLength;
    EXPECT_EQ(le32(image, 90), c.texts + (c.lastLength >= 0 ? 1 : 0));
  }
}

TEST(PafFixture, RefusesLayoutsItCannotWrite) {
  PafBuilder tooFew;
  for (int i = 0; i < 133; ++i) tooFew.addMediaLink(MediaLink{});
  tooFew.placePages(20, {{0, 5}});
  EXPECT_THROW(tooFew.build(), std::logic_error);

  PafBuilder clash;
  clash.placePages(2, {{0, 5}});
  clash.setMapByte(0, 5, 40);
  EXPECT_THROW(clash.build(), std::logic_error);

  PafBuilder longText;
  EXPECT_THROW(longText.addText(std::string(256, 'x'), 5), std::invalid_argument);
}

}  // namespace
}  // namespace corvane::testing
