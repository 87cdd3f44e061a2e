#include "media/FileList.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

// A list built the way the system builds one: a first entry, then one append per path.
std::unique_ptr<FileList> listOf(const Paths& paths) {
  auto list = std::make_unique<FileList>(paths.front().c_str());
  for (std::size_t i = 1; i < paths.size(); ++i) list->append(new FileList(paths[i].c_str()));
  return list;
}

Paths pathsOf(const FileList* list) {
  Paths paths;
  for (const FileList* entry = list; entry != nullptr; entry = entry->next) {
    paths.emplace_back(entry->path.cStr());
  }
  return paths;
}

TEST(FileListEntry, NewEntryHasNoOwnerAndSetOwnerTakesLinkOwnerTypeInThisOrder) {
  FileList entry("C:\\Photos\\a.jpg");
  EXPECT_EQ(entry.next, nullptr);
  EXPECT_STREQ(entry.path.cStr(), "C:\\Photos\\a.jpg");
  EXPECT_EQ(entry.ownerType, 0);
  EXPECT_EQ(entry.ownerRecord, 0);
  EXPECT_EQ(entry.linkRecord, 0);

  entry.setOwner(7, 42, 132);
  EXPECT_EQ(entry.linkRecord, 7);
  EXPECT_EQ(entry.ownerRecord, 42);
  EXPECT_EQ(entry.ownerType, 132);  // above 127: held unsigned

  entry.setPath(".\\b.jpg");
  EXPECT_STREQ(entry.path.cStr(), ".\\b.jpg");
}

TEST(FileListEntries, OnlyTheEmptyMarkerAloneHasNoEntries) {
  struct Case {
    Paths paths;
    bool hasEntries;
  };
  const Case cases[] = {
      {{"--"}, false},
      {{"C:\\a.jpg"}, true},
      {{""}, true},
      {{"-"}, true},
      {{"--", "--"}, true},
      {{"--", "C:\\a.jpg"}, true},
      {{"C:\\a.jpg", "--"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(listOf(c.paths)->hasEntries(), c.hasEntries) << ::testing::PrintToString(c.paths);
  }
}

TEST(FileListAppend, KeepsOrderAndDuplicatesAndTakesWholeChains) {
  auto list = listOf({"--", "b", "a", "b"});
  auto chain = listOf({"c", "b"});
  list->append(chain.release());
  list->append(new FileList("d"));
  list->append(nullptr);
  EXPECT_EQ(pathsOf(list.get()), (Paths{"--", "b", "a", "b", "c", "b", "d"}));
}

// The collection appends one entry per link record of the database; the list must not be walked
// per append, and must be destroyed without one level of recursion per entry.
TEST(FileListAppend, HundredThousandAppendsTakeLinearTime) {
  constexpr int kEntries = 100000;
  const auto start = std::chrono::steady_clock::now();
  {
    auto list = std::make_unique<FileList>(FileList::kEmptyMarker);
    for (int i = 0; i < kEntries; ++i) list->append(new FileList(i % 2 == 0 ? "C:\\a.jpg" : "b.jpg"));
    int count = 0;
    for (const FileList* entry = list.get(); entry != nullptr; entry = entry->next) ++count;
    EXPECT_EQ(count, kEntries + 1);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // Linear work is some tens of milliseconds even under the sanitizers; a walk per append is
  // five billion steps.
  EXPECT_LT(elapsed, std::chrono::seconds(3));
}

TEST(FileListAppend, StillAppendsAtTheEndAfterTheListChangedElsewhere) {
  struct Case {
    const char* name;
    Paths start;
    void (*change)(FileList& list);
    Paths expected;
  };
  const Paths xyz = {"C:\\P\\x", "C:\\P\\y", "C:\\P\\z"};
  const Case cases[] = {
      {"insert after the last entry", {"C:\\P\\y", "C:\\P\\a"},
       [](FileList& l) { l.insertPath("C:\\P\\b"); },
       {"C:\\P\\y", "C:\\P\\a", "C:\\P\\b", "end"}},
      {"remove the last entry", xyz, [](FileList& l) { l.removeEntry(l.next, l.next->next); },
       {"C:\\P\\x", "C:\\P\\y", "end"}},
      {"remove the first entry", xyz, [](FileList& l) { l.removeEntry(nullptr, &l); },
       {"C:\\P\\y", "C:\\P\\z", "end"}},
      {"remove first and last", xyz,
       [](FileList& l) {
         l.removeEntry(nullptr, &l);
         l.removeEntry(&l, l.next);
       },
       {"C:\\P\\y", "end"}},
      {"remove down to the marker", xyz,
       [](FileList& l) {
         while (l.removeEntry(nullptr, &l) != nullptr) {
         }
       },
       {"--", "end"}},
  };
  for (const Case& c : cases) {
    auto list = listOf(c.start);
    c.change(*list);
    list->append(new FileList("end"));
    EXPECT_EQ(pathsOf(list.get()), c.expected) << c.name;
  }

  // A list handed on by withoutEmptyMarker goes on appending at its end.
  auto marked = listOf({"--", "a", "b"});
  std::unique_ptr<FileList> rest(marked->withoutEmptyMarker());
  rest->append(new FileList("c"));
  EXPECT_EQ(pathsOf(rest.get()), (Paths{"a", "b", "c"}));
  EXPECT_EQ(pathsOf(marked.get()), (Paths{"--"}));
}

TEST(FileListMarker, WithoutEmptyMarkerDropsOnlyALeadingMarker) {
  struct Case {
    Paths paths;
    bool sameFirst;    // the list itself comes back
    Paths remaining;   // empty: none comes back
  };
  const Case cases[] = {
      {{"--"}, false, {}},
      {{"--", "a", "b"}, false, {"a", "b"}},
      {{"--", "--"}, false, {"--"}},
      {{"a", "--"}, true, {"a", "--"}},
      {{"-- "}, true, {"-- "}},
  };
  for (const Case& c : cases) {
    auto list = listOf(c.paths);
    FileList* result = list->withoutEmptyMarker();
    const std::string name = ::testing::PrintToString(c.paths);
    EXPECT_EQ(result == list.get(), c.sameFirst) << name;
    EXPECT_EQ(pathsOf(result), c.remaining) << name;
    if (!c.sameFirst) {
      EXPECT_EQ(list->next, nullptr) << name << ": the marker stays linked";
      delete result;
    }
  }
}

TEST(FileListContains, ComparesWholePathsExactlyFromTheFirstEntry) {
  struct Case {
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {"C:\\Photos\\a.jpg", true},
      {"c:\\photos\\a.jpg", false},
      {"C:\\b.jpg", true},
      {"C:\\b", false},
      {"C:\\b.jpg ", false},
      {"--", false},
      {"", false},
  };
  const auto list = listOf({"C:\\Photos\\a.jpg", "x", "C:\\b.jpg"});
  for (const Case& c : cases) {
    EXPECT_EQ(list->contains(c.text), c.found) << c.text;
  }
  EXPECT_TRUE(listOf({"--"})->contains("--"));
  EXPECT_TRUE(listOf({""})->contains(""));
}

TEST(FileListInsertPath, PlacesAfterTheFirstShorterOrEarlierEntryAndNeverAtTheEnd) {
  struct Case {
    const char* name;
    Paths queue;
    const char* text;
    Paths expected;
  };
  const Case cases[] = {
      {"longer goes after the first", {"C:\\P\\"}, "C:\\P\\Q", {"C:\\P\\", "C:\\P\\Q"}},
      {"equal inserts nothing", {"C:\\P\\"}, "C:\\P\\", {"C:\\P\\"}},
      {"shorter and earlier inserts nothing", {"C:\\P\\"}, "C:\\", {"C:\\P\\"}},
      {"later goes directly after the accepting entry", {"C:\\P\\x", "C:\\P\\y"}, "C:\\P\\z",
       {"C:\\P\\x", "C:\\P\\z", "C:\\P\\y"}},
      {"earlier than all is not appended", {"C:\\P\\x", "C:\\P\\y"}, "C:\\P\\w",
       {"C:\\P\\x", "C:\\P\\y"}},
      {"a shorter entry is accepted before an equal one", {"C:\\A\\", "C:\\B\\x"}, "C:\\B\\x",
       {"C:\\A\\", "C:\\B\\x", "C:\\B\\x"}},
      {"an equal entry met first stops", {"C:\\P\\y", "C:\\P\\x"}, "C:\\P\\x",
       {"C:\\P\\y", "C:\\P\\x"}},
      {"accepted at a later entry", {"C:\\P\\y", "C:\\P\\a", "C:\\P\\b"}, "C:\\P\\c",
       {"C:\\P\\y", "C:\\P\\a", "C:\\P\\c", "C:\\P\\b"}},
      {"letter case is byte order", {"C:\\p\\"}, "C:\\P\\", {"C:\\p\\"}},
      {"bytes above 0x7F sort after letters", {"C:\\\xE9"}, "C:\\f", {"C:\\\xE9"}},
      {"text with a byte above 0x7F sorts after", {"C:\\f"}, "C:\\\xE9", {"C:\\f", "C:\\\xE9"}},
      {"drive root after a folder of an earlier drive", {"D:\\P\\", "C:\\Pics\\"}, "E:\\",
       {"D:\\P\\", "E:\\", "C:\\Pics\\"}},
  };
  for (const Case& c : cases) {
    auto list = listOf(c.queue);
    const FileList* first = list.get();
    list->insertPath(c.text);
    EXPECT_EQ(pathsOf(list.get()), c.expected) << c.name;
    EXPECT_EQ(list.get(), first) << c.name;
  }
}

TEST(FileListRemove, KeepsTheFirstEntryInPlace) {
  struct Case {
    const char* name;
    Paths paths;
    int index;          // entry to remove
    Paths remaining;
    int walkGoesOnAt;   // index of the returned entry after removal, -1 for none
  };
  const Case cases[] = {
      {"first of three", {"a", "b", "c"}, 0, {"b", "c"}, 0},
      {"middle", {"a", "b", "c"}, 1, {"a", "c"}, 1},
      {"last", {"a", "b", "c"}, 2, {"a", "b"}, -1},
      {"only entry becomes the marker", {"a"}, 0, {"--"}, -1},
  };
  for (const Case& c : cases) {
    auto list = listOf(c.paths);
    int number = 1;
    for (FileList* entry = list.get(); entry != nullptr; entry = entry->next, ++number) {
      entry->setOwner(number * 10, number * 100, static_cast<std::uint8_t>(number));
    }
    FileList* previous = nullptr;
    FileList* entry = list.get();
    for (int i = 0; i < c.index; ++i) {
      previous = entry;
      entry = entry->next;
    }
    const FileList* first = list.get();

    FileList* goesOn = list->removeEntry(previous, entry);

    EXPECT_EQ(list.get(), first) << c.name;
    EXPECT_EQ(pathsOf(list.get()), c.remaining) << c.name;
    FileList* expectedGoesOn = nullptr;
    if (c.walkGoesOnAt >= 0) {
      expectedGoesOn = list.get();
      for (int i = 0; i < c.walkGoesOnAt; ++i) expectedGoesOn = expectedGoesOn->next;
    }
    EXPECT_EQ(goesOn, expectedGoesOn) << c.name;
    // Owner fields travel with their path; the marker has none.
    for (const FileList* e = list.get(); e != nullptr; e = e->next) {
      const int n = e->path.compare("--") == 0 ? 0 : e->path.charAt(0) - 'a' + 1;
      EXPECT_EQ(e->linkRecord, n * 10) << c.name << " " << e->path.cStr();
      EXPECT_EQ(e->ownerRecord, n * 100) << c.name << " " << e->path.cStr();
      EXPECT_EQ(e->ownerType, n) << c.name << " " << e->path.cStr();
    }
  }
  auto marker = listOf({"a"});
  marker->removeEntry(nullptr, marker.get());
  EXPECT_FALSE(marker->hasEntries());
}

}  // namespace
