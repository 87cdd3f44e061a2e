#include "text/Str.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <new>
#include <string>
#include <vector>

#include "platform/Exit.h"

using namespace std::string_literals;

// While set, every `new (std::nothrow) char[n]` of this program answers null, which is how Str
// asks for its buffers. The replacement forwards to the ordinary array allocation otherwise, so
// the pairing with delete[] stays what the sanitizers expect.
namespace {
bool g_refuseNothrowArrays = false;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (g_refuseNothrowArrays) return nullptr;
  try {
    return ::operator new[](size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

namespace {

// All bytes of the value, zero bytes included.
std::string bytesOf(const Str& s) { return std::string(s.cStr(), static_cast<std::size_t>(s.size())); }

Str ofLength(int n) { return Str(std::string(static_cast<std::size_t>(n), 'x').c_str()); }

// A value holding `text` in a buffer of the given capacity class.
Str withCapacity(const char* text, int capacity) {
  Str s(text);
  s.getBuffer(capacity);
  return s;
}

// The buffer address, to tell a kept buffer from a new one. Str takes a new buffer before it
// frees the old one, so a replaced buffer never comes back at the same address.
const char* bufferOf(const Str& s) { return s.hasBuffer() ? s.cStr() : nullptr; }

TEST(StrCapacityClasses, RoundCapacityGivesSmallestClassNotBelow) {
  struct Case {
    int n;
    int expected;
  };
  const Case cases[] = {
      {-3, 12},   {0, 12},     {1, 12},     {12, 12},
      {13, 28},   {28, 28},    {29, 60},    {60, 60},
      {61, 124},  {1020, 1020}, {1021, 2044},
      {Str::kMaxRoundedSize, Str::kMaxRoundedSize},
      {Str::kMaxRoundedSize + 1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Str::roundCapacity(c.n), c.expected) << "n=" << c.n;
  }
}

TEST(StrConstruction, LengthAndCapacityFollowTheClasses) {
  struct Case {
    const char* name;
    Str (*make)();
    bool hasBuffer;
    std::string bytes;
    int capacity;
  };
  const Case cases[] = {
      {"default has no buffer", [] { return Str(); }, false, "", 0},
      {"empty text", [] { return Str(""); }, true, "", 11},
      {"null text is the empty text", [] { return Str(static_cast<const char*>(nullptr)); }, true, "", 11},
      {"11 bytes fill the first class", [] { return ofLength(11); }, true, std::string(11, 'x'), 11},
      {"12 bytes take the second class", [] { return ofLength(12); }, true, std::string(12, 'x'), 27},
      {"28 bytes take the third class", [] { return ofLength(28); }, true, std::string(28, 'x'), 59},
      {"counted bytes keep zero bytes", [] { return Str("a\0b", 3); }, true, "a\0b"s, 11},
      {"counted 27 bytes", [] { return Str("abcdefghijklmnopqrstuvwxyz0", 27); }, true,
       "abcdefghijklmnopqrstuvwxyz0", 27},
      {"negative count is empty", [] { return Str("abc", -1); }, true, "", 11},
      {"copy of default has a one-byte buffer",
       [] {
         const Str none;
         return Str(none);
       },
       true, "", 0},
      {"copy keeps the source capacity", [] { return Str(withCapacity("abc", 123)); }, true, "abc",
       123},
      {"copy keeps zero bytes", [] { return Str(Str("a\0b", 3)); }, true, "a\0b"s, 11},
  };
  for (const Case& c : cases) {
    const Str s = c.make();
    EXPECT_EQ(s.hasBuffer(), c.hasBuffer) << c.name;
    EXPECT_EQ(bytesOf(s), c.bytes) << c.name;
    EXPECT_EQ(s.size(), static_cast<int>(c.bytes.size())) << c.name;
    EXPECT_EQ(s.capacity(), c.capacity) << c.name;
  }
}

TEST(StrConstruction, TextOfValueWithoutBufferIsSharedEmptyTextAndAllocatesNothing) {
  const Str none;
  EXPECT_STREQ(none.cStr(), "");
  EXPECT_EQ(none.charAt(0), '\0');
  EXPECT_EQ(none.size(), 0);
  EXPECT_FALSE(none.hasBuffer());
  EXPECT_EQ(Str().cStr(), none.cStr());
}

TEST(StrAssignText, ShrinksOnlyBelowAQuarterOfBigCapacitiesAndGrowsPastCapacity) {
  struct Case {
    const char* name;
    int startCapacity;  // -1: a value without buffer
    int textLength;     // -1: a null pointer
    int capacity;
    bool keepsBuffer;
  };
  const Case cases[] = {
      {"no buffer, empty text", -1, 0, 11, false},
      {"no buffer, some text", -1, 5, 11, false},
      {"empty text always takes a fresh buffer", 11, 0, 11, false},
      {"null text is the empty text", 27, -1, 11, false},
      {"text fills the buffer to its last byte", 11, 11, 11, true},
      {"one byte more grows", 11, 12, 27, false},
      {"capacity 27 is not shrunk", 27, 3, 27, true},
      {"3 bytes into capacity 123 shrink", 123, 3, 11, false},
      {"29 bytes into capacity 123 shrink", 123, 29, 59, false},
      {"30 bytes into capacity 123 keep", 123, 30, 123, true},
  };
  for (const Case& c : cases) {
    Str s;
    if (c.startCapacity >= 0) s = withCapacity("old", c.startCapacity);
    ASSERT_EQ(s.capacity(), c.startCapacity < 0 ? 0 : c.startCapacity) << c.name;
    const char* before = bufferOf(s);
    const std::string text(static_cast<std::size_t>(c.textLength < 0 ? 0 : c.textLength), 'y');

    s = c.textLength < 0 ? nullptr : text.c_str();

    EXPECT_EQ(bytesOf(s), text) << c.name;
    EXPECT_EQ(s.capacity(), c.capacity) << c.name;
    EXPECT_EQ(bufferOf(s) == before, c.keepsBuffer) << c.name;
  }
}

TEST(StrAssignStr, TakesTheOtherCapacityAndReplacesTheBufferOnlyWhenCapacitiesDiffer) {
  struct Case {
    const char* name;
    Str (*target)();
    Str (*source)();
    bool hasBuffer;
    std::string bytes;
    int capacity;
    bool keepsBuffer;
  };
  const Case cases[] = {
      {"bigger source capacity", [] { return Str("abc"); }, [] { return withCapacity("hello", 123); },
       true, "hello", 123, false},
      {"smaller source capacity", [] { return withCapacity("abc", 123); }, [] { return Str("x"); },
       true, "x", 11, false},
      {"equal capacities", [] { return Str("abc"); }, [] { return Str("xy"); }, true, "xy", 11, true},
      {"empty source, equal capacities", [] { return Str("abc"); }, [] { return Str(""); }, true, "",
       11, true},
      {"source without buffer", [] { return Str("abc"); }, [] { return Str(); }, true, "", 0, false},
      {"no buffer from no buffer", [] { return Str(); }, [] { return Str(); }, false, "", 0, true},
      {"capacity 0 buffer into no buffer stays without",
       [] { return Str(); },
       [] {
         const Str none;
         return Str(none);
       },
       false, "", 0, true},
      {"zero bytes are copied", [] { return Str(); }, [] { return Str("a\0b", 3); }, true, "a\0b"s, 11,
       false},
  };
  for (const Case& c : cases) {
    Str s = c.target();
    const Str source = c.source();
    const char* before = bufferOf(s);

    s = source;

    EXPECT_EQ(s.hasBuffer(), c.hasBuffer) << c.name;
    EXPECT_EQ(bytesOf(s), c.bytes) << c.name;
    EXPECT_EQ(s.capacity(), c.capacity) << c.name;
    EXPECT_EQ(bufferOf(s) == before, c.keepsBuffer) << c.name;
    EXPECT_NE(bufferOf(s) != nullptr && bufferOf(s) == bufferOf(source), true)
        << c.name << ": two values share a buffer";
  }
}

TEST(StrAppend, MovesToANewBufferAtTheWrittenThresholds) {
  struct Case {
    const char* name;
    Str (*start)();
    void (*append)(Str&);
    std::string bytes;
    int capacity;
    bool keepsBuffer;
  };
  const Case cases[] = {
      {"byte into full buffer grows", [] { return ofLength(11); }, [](Str& s) { s += 'y'; },
       std::string(11, 'x') + "y", 27, false},
      {"byte fills the last place", [] { return ofLength(10); }, [](Str& s) { s += 'y'; },
       std::string(10, 'x') + "y", 11, true},
      {"text reaching capacity takes a same-size buffer", [] { return ofLength(10); },
       [](Str& s) { s += "y"; }, std::string(10, 'x') + "y", 11, false},
      {"text below capacity stays", [] { return ofLength(9); }, [](Str& s) { s += "y"; },
       std::string(9, 'x') + "y", 11, true},
      {"Str reaching capacity takes a same-size buffer", [] { return ofLength(10); },
       [](Str& s) { s += Str("y"); }, std::string(10, 'x') + "y", 11, false},
      {"Str below capacity stays", [] { return ofLength(9); }, [](Str& s) { s += Str("y"); },
       std::string(9, 'x') + "y", 11, true},
      {"long text jumps classes", [] { return Str("ab"); },
       [](Str& s) { s += std::string(100, 'y').c_str(); }, "ab" + std::string(100, 'y'), 123, false},
      {"byte to no buffer", [] { return Str(); }, [](Str& s) { s += 'a'; }, "a", 11, false},
      {"empty text to no buffer", [] { return Str(); }, [](Str& s) { s += ""; }, "", 11, false},
      {"no buffer to no buffer", [] { return Str(); }, [](Str& s) { s += Str(); }, "", 11, false},
      {"zero byte counts", [] { return Str("ab"); }, [](Str& s) { s += '\0'; }, "ab\0"s, 11, true},
      {"null text adds nothing", [] { return Str("ab"); },
       [](Str& s) { s += static_cast<const char*>(nullptr); }, "ab", 11, true},
      {"Str without buffer adds nothing", [] { return Str("ab"); }, [](Str& s) { s += Str(); }, "ab",
       11, true},
      {"Str with zero byte adds all its bytes", [] { return Str("ab"); },
       [](Str& s) { s += Str("c\0d", 3); }, "abc\0d"s, 11, true},
      {"Str grows with its zero byte", [] { return ofLength(10); },
       [](Str& s) { s += Str("c\0d", 3); }, std::string(10, 'x') + "c\0d"s, 27, false},
  };
  for (const Case& c : cases) {
    Str s = c.start();
    const char* before = bufferOf(s);

    c.append(s);

    EXPECT_EQ(bytesOf(s), c.bytes) << c.name;
    EXPECT_EQ(s.size(), static_cast<int>(c.bytes.size())) << c.name;
    EXPECT_EQ(s.capacity(), c.capacity) << c.name;
    EXPECT_EQ(bufferOf(s) == before, c.keepsBuffer) << c.name;
  }
}

// A text built by many appends is copied once per size class (twice for one-byte texts, which
// move one byte early into a buffer of the same class).
TEST(StrAppend, ManyAppendsCopyOncePerSizeClass) {
  struct Case {
    const char* name;
    void (*append)(Str&);
    std::vector<int> newBufferCapacities;
  };
  const Case cases[] = {
      {"byte", [](Str& s) { s += 'x'; }, {11, 27, 59, 123, 251, 507, 1019}},
      {"text", [](Str& s) { s += "x"; }, {11, 11, 27, 27, 59, 59, 123, 123, 251, 251, 507, 507, 1019}},
      {"Str", [](Str& s) { s += Str("x"); },
       {11, 11, 27, 27, 59, 59, 123, 123, 251, 251, 507, 507, 1019}},
  };
  for (const Case& c : cases) {
    Str s;
    std::vector<int> seen;
    const char* buffer = nullptr;
    for (int i = 0; i < 1000; ++i) {
      c.append(s);
      if (bufferOf(s) != buffer) {
        buffer = bufferOf(s);
        seen.push_back(s.capacity());
      }
    }
    EXPECT_EQ(s.size(), 1000) << c.name;
    EXPECT_EQ(bytesOf(s), std::string(1000, 'x')) << c.name;
    EXPECT_EQ(seen, c.newBufferCapacities) << c.name;
  }
}

TEST(StrSelfReference, ArgumentsFromTheValueItselfGiveTheRightText) {
  struct Case {
    const char* name;
    Str (*start)();
    void (*change)(Str&);
    std::string bytes;
  };
  const Case cases[] = {
      {"assign itself", [] { return Str("abc"); },
       [](Str& s) {
         Str& same = s;
         s = same;
       },
       "abc"},
      {"append itself in place", [] { return Str("abc"); }, [](Str& s) { s += s; }, "abcabc"},
      {"append itself growing", [] { return ofLength(10); }, [](Str& s) { s += s; },
       std::string(20, 'x')},
      {"append own tail in place", [] { return Str("abc"); }, [](Str& s) { s += s.cStr() + 1; },
       "abcbc"},
      {"append own tail growing", [] { return Str("abcdefghij"); }, [](Str& s) { s += s.cStr() + 8; },
       "abcdefghijij"},
      {"assign own tail keeping the buffer", [] { return Str("abcdef"); },
       [](Str& s) { s = s.cStr() + 2; }, "cdef"},
      {"assign own tail into a new buffer", [] { return withCapacity("abcdefgh", 123); },
       [](Str& s) { s = s.cStr() + 5; }, "fgh"},
  };
  for (const Case& c : cases) {
    Str s = c.start();
    c.change(s);
    EXPECT_EQ(bytesOf(s), c.bytes) << c.name;
  }
}

TEST(StrConcatenate, BuildsThroughTheBufferAndMeasuresToTheFirstZero) {
  struct Case {
    const char* name;
    Str (*make)();
    std::string bytes;
    int capacity;
  };
  const Case cases[] = {
      {"Str + Str", [] { return Str("ab") + Str("cd"); }, "abcd", 11},
      {"Str + Str without buffer", [] { return Str("ab") + Str(); }, "ab", 11},
      {"no buffer + no buffer", [] { return Str() + Str(); }, "", 11},
      {"Str + Str across a class", [] { return ofLength(20) + ofLength(20); }, std::string(40, 'x'),
       59},
      {"Str + zero byte adds nothing", [] { return Str("ab") + '\0'; }, "ab", 11},
      {"byte needs two more places", [] { return ofLength(9) + 'y'; }, std::string(9, 'x') + "y", 11},
      {"byte at the class edge", [] { return ofLength(10) + 'y'; }, std::string(10, 'x') + "y", 27},
      {"Str + text", [] { return Str("ab") + "cd"; }, "abcd", 11},
      {"text fills the class", [] { return ofLength(10) + "y"; }, std::string(10, 'x') + "y", 11},
      {"no buffer + text", [] { return Str() + "x"; }, "x", 11},
      {"Str + null text", [] { return Str("ab") + static_cast<const char*>(nullptr); }, "ab", 11},
      {"text + Str", [] { return "ab" + Str("cd"); }, "abcd", 11},
      {"text + Str without buffer", [] { return "ab" + Str(); }, "ab", 11},
      {"null text + Str", [] { return static_cast<const char*>(nullptr) + Str("cd"); }, "cd", 11},
      {"left zero byte ends the result", [] { return Str("a\0b", 3) + "c"; }, "a", 11},
      {"right Str up to its zero byte", [] { return Str("a") + Str("b\0c", 3); }, "ab", 11},
  };
  for (const Case& c : cases) {
    const Str s = c.make();
    EXPECT_EQ(bytesOf(s), c.bytes) << c.name;
    EXPECT_EQ(s.capacity(), c.capacity) << c.name;
  }
}

TEST(StrConcatenate, LeavesBothOperandsAsTheyWere) {
  const Str a = withCapacity("abc", 59);
  const Str b("def");
  const Str sum = a + b;
  const Str withText = a + "x";
  const Str withByte = a + 'x';
  const Str textFirst = "x" + b;
  EXPECT_EQ(bytesOf(sum), "abcdef");
  EXPECT_EQ(bytesOf(a), "abc");
  EXPECT_EQ(a.capacity(), 59);
  EXPECT_EQ(bytesOf(b), "def");
  EXPECT_EQ(b.capacity(), 11);
}

TEST(StrCompare, EqualityTreatsNoBufferAsEmptyAndStopsAtTheFirstZero) {
  struct Case {
    const char* name;
    Str (*a)();
    Str (*b)();
    bool equal;
  };
  const Case cases[] = {
      {"same text", [] { return Str("ab"); }, [] { return Str("ab"); }, true},
      {"prefix", [] { return Str("ab"); }, [] { return Str("abc"); }, false},
      {"letter case counts", [] { return Str("Ab"); }, [] { return Str("ab"); }, false},
      {"capacity does not count", [] { return withCapacity("ab", 123); }, [] { return Str("ab"); },
       true},
      {"no buffer equals empty text", [] { return Str(); }, [] { return Str(""); }, true},
      {"no buffer equals no buffer", [] { return Str(); }, [] { return Str(); }, true},
      {"no buffer equals a copy of no buffer", [] { return Str(); },
       [] {
         const Str none;
         return Str(none);
       },
       true},
      {"no buffer differs from text", [] { return Str(); }, [] { return Str("a"); }, false},
      {"no buffer differs from a lone zero byte", [] { return Str(); }, [] { return Str("\0", 1); },
       false},
      {"bytes after a zero byte do not count", [] { return Str("a\0b", 3); }, [] { return Str("a"); },
       true},
  };
  for (const Case& c : cases) {
    const Str a = c.a();
    const Str b = c.b();
    EXPECT_EQ(a == b, c.equal) << c.name;
    EXPECT_EQ(b == a, c.equal) << c.name << " (swapped)";
  }
}

TEST(StrCompare, CompareIsZeroExactlyForTheSameText) {
  struct Case {
    const char* name;
    Str (*value)();
    const char* text;
    int sign;
  };
  const Case cases[] = {
      {"empty list marker", [] { return Str("--"); }, "--", 0},
      {"path against marker", [] { return Str("C:\\a.jpg"); }, "--", 1},
      {"before", [] { return Str("abc"); }, "abd", -1},
      {"after", [] { return Str("abd"); }, "abc", 1},
      {"bytes above 0x7F sort after ASCII", [] { return Str("\xE9"); }, "e", 1},
      {"null text is the empty text", [] { return Str(""); }, nullptr, 0},
      {"no buffer and null", [] { return Str(); }, nullptr, 0},
      {"no buffer and empty text", [] { return Str(); }, "", 0},
      {"no buffer and text", [] { return Str(); }, "a", -1},
  };
  for (const Case& c : cases) {
    const int result = c.value().compare(c.text);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.name;
  }
}

TEST(StrPieces, FromLeftAndRightClampTheirArguments) {
  struct Case {
    const char* name;
    Str (*piece)(const Str&);
    bool ofNoBuffer;
    std::string bytes;
  };
  const Case cases[] = {
      {"from middle", [](const Str& s) { return s.from(2); }, false, "llo"},
      {"from length", [](const Str& s) { return s.from(5); }, false, ""},
      {"from past length", [](const Str& s) { return s.from(6); }, false, ""},
      {"from negative", [](const Str& s) { return s.from(-5); }, false, "hello"},
      {"left 2", [](const Str& s) { return s.left(2); }, false, "he"},
      {"left negative", [](const Str& s) { return s.left(-1); }, false, ""},
      {"left past length", [](const Str& s) { return s.left(15); }, false, "hello"},
      {"right 2", [](const Str& s) { return s.right(2); }, false, "lo"},
      {"right 0", [](const Str& s) { return s.right(0); }, false, ""},
      {"right negative", [](const Str& s) { return s.right(-1); }, false, ""},
      {"right past length", [](const Str& s) { return s.right(15); }, false, "hello"},
      {"from of no buffer", [](const Str& s) { return s.from(0); }, true, ""},
      {"left of no buffer", [](const Str& s) { return s.left(3); }, true, ""},
      {"right of no buffer", [](const Str& s) { return s.right(3); }, true, ""},
  };
  const Str hello("hello");
  const Str none;
  for (const Case& c : cases) {
    const Str piece = c.piece(c.ofNoBuffer ? none : hello);
    EXPECT_EQ(bytesOf(piece), c.bytes) << c.name;
    EXPECT_EQ(piece.capacity(), 11) << c.name;
  }
  EXPECT_EQ(ofLength(40).left(12).capacity(), 27);
  EXPECT_EQ(ofLength(40).right(28).capacity(), 59);
  EXPECT_EQ(ofLength(40).from(39).capacity(), 11);
}

TEST(StrSearch, FindAndFindLastAnswerMinusOneWhenAbsent) {
  struct Case {
    const char* name;
    Str (*value)();
    int (*search)(const Str&);
    int expected;
  };
  const Case cases[] = {
      {"last backslash", [] { return Str("C:\\a\\b"); }, [](const Str& s) { return s.findLast('\\'); },
       4},
      {"last of empty text", [] { return Str(""); }, [](const Str& s) { return s.findLast('\\'); }, -1},
      {"last of no buffer", [] { return Str(); }, [](const Str& s) { return s.findLast('a'); }, -1},
      {"last byte absent", [] { return Str("abc"); }, [](const Str& s) { return s.findLast('x'); }, -1},
      {"last at index 0", [] { return Str("abc"); }, [](const Str& s) { return s.findLast('a'); }, 0},
      {"last zero byte inside", [] { return Str("a\0b", 3); },
       [](const Str& s) { return s.findLast('\0'); }, 1},
      {"empty text at 0", [] { return Str("abc"); }, [](const Str& s) { return s.find(""); }, 0},
      {"text inside", [] { return Str("abcbc"); }, [](const Str& s) { return s.find("bc"); }, 1},
      {"text absent", [] { return Str("abc"); }, [](const Str& s) { return s.find("x"); }, -1},
      {"text longer than value", [] { return Str("ab"); }, [](const Str& s) { return s.find("abc"); },
       -1},
      {"find in no buffer", [] { return Str(); }, [](const Str& s) { return s.find(""); }, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.search(c.value()), c.expected) << c.name;
  }
}

TEST(StrAccess, CharAtAnswersZeroOutsideTheText) {
  struct Case {
    int index;
    char expected;
  };
  const Case cases[] = {{0, 'a'}, {2, 'c'}, {3, '\0'}, {4, '\0'}, {-1, '\0'}, {1000, '\0'}};
  const Str abc("abc");
  for (const Case& c : cases) {
    EXPECT_EQ(abc.charAt(c.index), c.expected) << "index " << c.index;
  }
  EXPECT_EQ(Str().charAt(0), '\0');
}

TEST(StrBufferAccess, GetBufferKeepsTheTextAndReleaseBufferSetsTheLength) {
  struct Case {
    const char* name;
    Str (*start)();
    void (*write)(Str&);
    bool hasBuffer;
    std::string bytes;
    int capacity;
  };
  const Case cases[] = {
      {"no buffer always gets one", [] { return Str(); }, [](Str& s) { s.getBuffer(0); }, true, "", 11},
      {"room enough keeps capacity", [] { return Str("abc"); }, [](Str& s) { s.getBuffer(11); }, true,
       "abc", 11},
      {"grown buffer is zero-filled after the text", [] { return Str("abc"); },
       [](Str& s) {
         char* out = s.getBuffer(20);
         out[3] = 'x';
         out[4] = 'y';
         s.releaseBuffer(-1);
       },
       true, "abcxy", 27},
      {"written text measured", [] { return Str("abc"); },
       [](Str& s) {
         char* out = s.getBuffer(5);
         out[0] = 'Q';
         out[1] = '\0';
         s.releaseBuffer(-1);
       },
       true, "Q", 11},
      {"given length", [] { return Str("abcdef"); }, [](Str& s) { s.releaseBuffer(2); }, true, "ab", 11},
      {"every byte written", [] { return Str("abc"); },
       [](Str& s) {
         char* out = s.getBuffer(11);
         for (int i = 0; i <= s.capacity(); ++i) out[i] = 'z';
         s.releaseBuffer(-1);
       },
       true, std::string(11, 'z'), 11},
      {"length past capacity is clamped", [] { return ofLength(11); }, [](Str& s) { s.releaseBuffer(100); },
       true, std::string(11, 'x'), 11},
      {"negative length is empty", [] { return Str("abc"); }, [](Str& s) { s.releaseBuffer(-7); }, true,
       "", 11},
      {"release without buffer", [] { return Str(); }, [](Str& s) { s.releaseBuffer(5); }, false, "", 0},
  };
  for (const Case& c : cases) {
    Str s = c.start();
    c.write(s);
    EXPECT_EQ(s.hasBuffer(), c.hasBuffer) << c.name;
    EXPECT_EQ(bytesOf(s), c.bytes) << c.name;
    EXPECT_EQ(s.capacity(), c.capacity) << c.name;
  }
}

// No memory for a text ends the process with status 5; under the hook that shows as a throw.
struct EndedProcess {
  int status;
};

class StrNoMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::setEndProcessHook([](int status) { throw EndedProcess{status}; });
  }
  void TearDown() override {
    g_refuseNothrowArrays = false;
    platform::setEndProcessHook(previous_);
  }

 private:
  platform::EndProcessHook previous_ = nullptr;
};

TEST_F(StrNoMemory, EndsTheProcessWithStatus5AndLeavesTheValueWhole) {
  struct Case {
    const char* name;
    bool refuseMemory;
    void (*operation)(Str& target, const Str& other);
  };
  const Case cases[] = {
      {"assignment from a Str", true, [](Str& s, const Str& other) { s = other; }},
      {"copy", true, [](Str&, const Str& other) { const Str copy(other); }},
      {"assignment from text", true, [](Str& s, const Str& other) { s = other.cStr(); }},
      {"append of a byte", true, [](Str& s, const Str&) { s += 'x'; }},
      {"append of a Str", true, [](Str& s, const Str& other) { s += other; }},
      {"more than the largest class", false,
       [](Str& s, const Str&) { s.getBuffer(Str::kMaxRoundedSize); }},
  };
  for (const Case& c : cases) {
    Str target = ofLength(11);
    const Str other = ofLength(60);
    int status = -1;
    g_refuseNothrowArrays = c.refuseMemory;
    try {
      c.operation(target, other);
    } catch (const EndedProcess& ended) {
      status = ended.status;
    }
    g_refuseNothrowArrays = false;
    EXPECT_EQ(status, 5) << c.name;
    EXPECT_EQ(bytesOf(target), std::string(11, 'x')) << c.name;
    EXPECT_EQ(target.capacity(), 11) << c.name;
  }
}

}  // namespace
