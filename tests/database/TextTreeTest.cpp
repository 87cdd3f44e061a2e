// Text records: reading, the look-up in the two trees, and appending.
#include <cstring>
#include <functional>

#include "tests/database/DatabaseTestSupport.h"

namespace {

using corvane::testing::TreeShape;

// The high-kind tree grown in this order: M(5) at the root, D(5) to its left, M(6) to its
// right, and T(5) to the right of M(6).
struct Tree {
  PafImage image;
  TextId m5, d5, m6, t5;
};

Tree smallTree() {
  PafBuilder b;
  b.addIndividual();
  b.setTreeShape(TreeShape::kInsertionOrder);
  Tree t{};
  t.m5 = b.addText("M", 5);
  t.d5 = b.addText("D", 5);
  t.m6 = b.addText("M", 6);
  t.t5 = b.addText("T", 5);
  t.image = b.build();
  return t;
}

struct FindCase {
  const char* name;
  const char16_t* key;
  int kind;
  int expected;  // > 0: the text of this letter's record ('M','D','N' for M(6),'T'); else the result
  char endedAt;  // the record whose offset is the position; 0: position 0
};

class FindTextTest : public DatabaseTest, public ::testing::WithParamInterface<FindCase> {};

std::int64_t offsetOf(const Tree& t, char letter) {
  switch (letter) {
    case 'M': return t.image.textOffset(t.m5);
    case 'D': return t.image.textOffset(t.d5);
    case 'N': return t.image.textOffset(t.m6);
    case 'T': return t.image.textOffset(t.t5);
    default: return 0;
  }
}

TEST_P(FindTextTest, GivesResultAndPosition) {
  const FindCase& c = GetParam();
  Tree tree = smallTree();
  CPAFDatabase& db = open(tree.image);
  TextRecord scratch;
  int position = -99;
  const int result = db.FindText(c.key, c.kind, &scratch, &position);
  if (c.expected > 0) {
    EXPECT_EQ(result, offsetOf(tree, static_cast<char>(c.expected)));
  } else {
    EXPECT_EQ(result, c.expected);
  }
  EXPECT_EQ(position, offsetOf(tree, c.endedAt));
}

const FindCase kFindCases[] = {
    // Found: the position is the found record's parent.
    {"RootFound", u"M", 5, 'M', 0},
    {"LeafFound", u"D", 5, 'D', 'M'},
    {"SameTextGreaterKindFound", u"M", 6, 'N', 'M'},
    {"DeepLeafFound", u"T", 5, 'T', 'N'},
    // Not found: -1 ended at a record without a right link, -2 without a left one.
    {"SortsBeforeEverything", u"A", 5, -2, 'D'},
    {"BetweenDAndM", u"F", 5, -1, 'D'},
    {"SortsAfterEverything", u"Z", 5, -1, 'T'},
    {"LetterCaseNeverMatches", u"m", 5, -1, 'T'},
    {"EqualTextSmallerKindGoesLeft", u"M", 4, -1, 'D'},
    {"EqualTextGreaterKindGoesRight", u"M", 7, -2, 'T'},
    {"PrefixSortsFirst", u"", 5, -2, 'D'},
    // The low-kind tree of this file is empty.
    {"EmptyTree", u"M", 1, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Keys, FindTextTest, ::testing::ValuesIn(kFindCases),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(DatabaseTest, FindTextWithoutPositionStillAnswers) {
  Tree tree = smallTree();
  CPAFDatabase& db = open(tree.image);
  TextRecord scratch;
  EXPECT_EQ(db.FindText(u"T", 5, &scratch), tree.image.textOffset(tree.t5));
  EXPECT_EQ(db.FindText(u"Q", 5, &scratch), -2);
}

TEST_F(DatabaseTest, StoredAnsiLettersMatchKeysConvertedFromAnsi) {
  PafBuilder b;
  b.addIndividual();
  const TextId mueller = b.addText("Photos\\M\xFC" "ller.jpg", 5);
  const TextId euro = b.addText("\x80.jpg", 5);
  b.addText("Photos\\Mueller.jpg", 5);
  PafImage image = b.build();
  CPAFDatabase& db = open(image);
  TextRecord scratch;
  EXPECT_EQ(db.FindText(u"Photos\\M\u00FCller.jpg", 5, &scratch), image.textOffset(mueller));
  EXPECT_EQ(db.FindText(u"\u20AC.jpg", 5, &scratch), image.textOffset(euro));
  EXPECT_LT(db.FindText(u"Photos\\M\u00DCller.jpg", 5, &scratch), 0);
}

struct DamagedTreeCase {
  const char* name;
  std::function<void(PafImage&, const Tree&)> damage;
  const char16_t* key;
  int expected;
};

class DamagedTreeTest : public DatabaseTest, public ::testing::WithParamInterface<DamagedTreeCase> {};

TEST_P(DamagedTreeTest, ReturnsInsteadOfHanging) {
  Tree tree = smallTree();
  GetParam().damage(tree.image, tree);
  CPAFDatabase& db = open(tree.image);
  TextRecord scratch;
  int position = 0;
  EXPECT_EQ(db.FindText(GetParam().key, 5, &scratch, &position), GetParam().expected);
}

const DamagedTreeCase kDamagedTrees[] = {
    {"TwoRecordCycle",
     [](PafImage& i, const Tree& t) { i.patchInt32(i.textOffset(t.d5) + fx::kTextLeft, static_cast<std::int32_t>(i.textOffset(t.m5))); },
     u"A", -3},
    {"ThreeRecordCycle",
     [](PafImage& i, const Tree& t) { i.patchInt32(i.textOffset(t.t5) + fx::kTextRight, static_cast<std::int32_t>(i.textOffset(t.m5))); },
     u"Z", -3},
    {"LinkToItselfEndsTheSearch",
     [](PafImage& i, const Tree& t) { i.patchInt32(i.textOffset(t.d5) + fx::kTextLeft, static_cast<std::int32_t>(i.textOffset(t.d5))); },
     u"A", -2},
    {"RootPastTheEndOfTheFile", [](PafImage& i, const Tree&) { i.patchInt32(fx::kHighKindTreeRootOffset, 0x7FFFFF00); }, u"M", -3},
    {"LinkPastTheEndOfTheFile",
     [](PafImage& i, const Tree& t) { i.patchInt32(i.textOffset(t.t5) + fx::kTextRight, 0x7FFFFF00); }, u"Z", -3},
    {"NegativeLinkEndsAsAnEmptyWalk",
     [](PafImage& i, const Tree& t) { i.patchInt32(i.textOffset(t.t5) + fx::kTextRight, -8); }, u"Z", 0},
};

INSTANTIATE_TEST_SUITE_P(Trees, DamagedTreeTest, ::testing::ValuesIn(kDamagedTrees),
                         [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(DatabaseTest, GetTextReadsWithinItsBuffer) {
  PafBuilder b;
  b.addIndividual();
  const TextId empty = b.addText("", 5);
  const TextId name = b.addText("Photos\\a.jpg", 5);
  PafImage image = b.build();
  // A text without its terminator runs on into whatever follows; the read stops at 255 bytes.
  const std::int64_t unterminated = image.textOffset(name);
  image.patch(unterminated + fx::kTextBytes, std::string(400, 'x'));
  CPAFDatabase& db = open(image);
  TextRecord record;
  std::memset(&record, 'q', sizeof record);
  EXPECT_EQ(db.GetText(0, &record), nullptr);
  EXPECT_EQ(db.GetText(-5, &record), nullptr);
  ASSERT_NE(db.GetText(static_cast<int>(image.textOffset(empty)), &record), nullptr);
  EXPECT_STREQ(record.text, "");
  ASSERT_NE(db.GetText(static_cast<int>(unterminated), &record), nullptr);
  EXPECT_EQ(std::strlen(record.text), 255u);
  EXPECT_EQ(db.GetText(static_cast<int>(image.size() - 12), &record), nullptr);
  EXPECT_EQ(db.GetText(static_cast<int>(image.size() + 100), &record), nullptr);
  // 13 bytes left: the fixed part is there, the text is empty.
  ASSERT_NE(db.GetText(static_cast<int>(image.size() - 13), &record), nullptr);
}

// --- Appending ---

TextRecord withText(const std::string& text) {
  TextRecord r;
  std::memset(&r, 0, sizeof r);
  std::memcpy(r.text, text.data(), std::min(text.size(), sizeof r.text));
  return r;
}

class AppendTest : public DatabaseTest {
 protected:
  PafImage familyWithRoom(int room) {
    PafBuilder b = smallFamily(2);
    b.leaveTextRoom(room);
    return b.build();
  }
};

TEST_F(AppendTest, ThirteenByteTextFillsExactlyTheLastTwentySevenBytes) {
  PafImage image = familyWithRoom(27);
  CPAFDatabase& db = open(image);
  const int appendAt = db.header.textAppendOffset;
  const int end = db.header.textAppendEnd;
  const int records = db.header.textRecordCount;
  const int textPages = db.header.textPageCount;
  TextRecord r = withText(".\\Photos\\a.jp");
  ASSERT_EQ(std::strlen(r.text), 13u);
  EXPECT_EQ(db.AddTextRecord(&r, 5, 4242), appendAt);
  EXPECT_EQ(static_cast<int>(db.header.textAppendOffset), appendAt + 27);
  EXPECT_EQ(static_cast<int>(db.header.textAppendOffset), end);
  EXPECT_EQ(static_cast<int>(db.header.textPageCount), textPages);
  EXPECT_EQ(static_cast<int>(db.header.textRecordCount), records + 1);
  // The record and the counters are on disk.
  const std::string stored = fileBytes(appendAt, 27);
  EXPECT_EQ(stored.substr(13), std::string(".\\Photos\\a.jp") + '\0');
  EXPECT_EQ(fileInt32(appendAt + 8), 4242);
  EXPECT_EQ(stored[12], 5);
  EXPECT_EQ(fileInt32(fx::kTextRecordCountOffset), records + 1);
  EXPECT_EQ(fileInt32(fx::kTextAppendOffsetOffset), appendAt + 27);
}

TEST_F(AppendTest, TwentySixBytesLeftStartsANewTextPage) {
  PafImage image = familyWithRoom(26);
  CPAFDatabase& db = open(image);
  const int oldAppend = db.header.textAppendOffset;
  const int textPages = db.header.textPageCount;
  TextRecord r = withText(".\\Photos\\a.jp");
  const int at = db.AddTextRecord(&r, 5, 0);
  EXPECT_NE(at, oldAppend);
  EXPECT_EQ((at - fx::kFirstSegmentOffset) % fx::kPageSize, 0);
  EXPECT_EQ(static_cast<int>(db.header.textAppendOffset), at + 27);
  EXPECT_EQ(static_cast<int>(db.header.textAppendEnd), at + fx::kPageSize);
  EXPECT_EQ(static_cast<int>(db.header.textPageCount), textPages + 1);
  // The abandoned bytes stay empty.
  EXPECT_EQ(fileBytes(oldAppend, 26), std::string(26, '\0'));
}

TEST_F(AppendTest, AppendedTextIsNotFoundAndASecondAppendMakesASecondRecord) {
  CPAFDatabase& db = open(familyWithRoom(500));
  TextRecord scratch;
  int position = 0;
  const int before = db.FindText(u".\\Photos\\new.jpg", 5, &scratch, &position);
  ASSERT_LT(before, 0);
  TextRecord r = withText(".\\Photos\\new.jpg");
  const int first = db.AddTextRecord(&r, 5, position);
  EXPECT_GT(first, 0);
  EXPECT_EQ(db.FindText(u".\\Photos\\new.jpg", 5, &scratch), before);
  r = withText(".\\Photos\\new.jpg");
  const int second = db.AddTextRecord(&r, 5, position);
  EXPECT_EQ(second, first + 14 + 16);
  TextRecord read;
  ASSERT_NE(db.GetText(second, &read), nullptr);
  EXPECT_STREQ(read.text, ".\\Photos\\new.jpg");
  EXPECT_EQ(static_cast<int>(read.parent), position);
}

TEST_F(AppendTest, TextLongerThan255BytesIsRefusedAndNothingIsWritten) {
  PafImage image = familyWithRoom(5000);
  CPAFDatabase& db = open(image);
  TextRecord r = withText(std::string(256, 'a'));  // fills text[] with no terminator
  EXPECT_EQ(db.AddTextRecord(&r, 5, 0), 0);
  EXPECT_EQ(fileBytes(0, image.size()), image.bytes());
  r = withText(std::string(255, 'a'));
  EXPECT_GT(db.AddTextRecord(&r, 5, 0), 0);
}

TEST_F(AppendTest, FirstTextOfAFileWithoutTextPagesBecomesTheLowTreeRoot) {
  PafBuilder b;
  b.addIndividual();
  CPAFDatabase& db = open(b.build());
  ASSERT_EQ(static_cast<int>(db.header.lowKindTreeRoot), 0);
  TextRecord r = withText("Marlow");
  const int at = db.AddTextRecord(&r, 1, 0);
  ASSERT_GT(at, 0);
  EXPECT_EQ(static_cast<int>(db.header.lowKindTreeRoot), at);
  EXPECT_EQ(fileInt32(fx::kLowKindTreeRootOffset), at);
  TextRecord scratch;
  EXPECT_EQ(db.FindText(u"Marlow", 1, &scratch), at);
}

// A damaged append position must not put a text over link records.
TEST_F(AppendTest, AppendPositionOutsideATextPageTakesANewPage) {
  PafImage image = familyWithRoom(500);
  const std::int64_t link = image.recordOffset(fx::kMediaLinkPage, 1);
  image.patchInt32(fx::kTextAppendOffsetOffset, static_cast<std::int32_t>(link));
  image.patchInt32(fx::kTextAppendEndOffset, static_cast<std::int32_t>(link + 4000));
  CPAFDatabase& db = open(image);
  TextRecord r = withText(".\\x.jpg");
  const int at = db.AddTextRecord(&r, 5, 0);
  EXPECT_GT(at, 0);
  EXPECT_NE(at, link);
  EXPECT_EQ(fileBytes(link, fx::kMediaLinkSize), image.read(link, fx::kMediaLinkSize));
}

}  // namespace
