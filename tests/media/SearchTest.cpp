// The missing-file search over drives mapped to throw-away folders: which folders it reads and
// in what order (seen through the progress label, repainted for every entry under a test
// clock), which namesake serves a missing entry, when it stops, the drive-root and other-drives
// pass, and its two message boxes.
#include "media/Search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exit.h"
#include "platform/ui/test/TestBackend.h"
#include "platform/vcl/Dialogs.h"
#include "tests/media/FamilyFixture.h"

namespace {

using Paths = std::vector<std::string>;

// The test clock: every reading advances it by g_step milliseconds.
std::int64_t g_time = 0;
std::int64_t g_step = 0;
std::int64_t testClock() { return g_time += g_step; }

struct ProcessEnded {
  int status;
};
[[noreturn]] void throwOnEnd(int status) { throw ProcessEnded{status}; }

const std::string kBlanks(24, ' ');

class SearchTest : public FamilyFixture {
 protected:
  SearchTest() {
    previousClock_ = setSearchClock(testClock);
    g_step = kProgressRepaintMs;  // every entry repaints: the repaints show the reading order
  }
  ~SearchTest() override { setSearchClock(previousClock_); }

  // A link record and missing entry for a file of this name that was in C:\Fam\Lost\.
  int addMissing(const std::string& name) {
    const std::string stored = "Lost\\" + name;
    const int link = addLink(stored);
    FamilyFixture::addMissing(missing_, stored, link);
    return link;
  }
  void addFound(const std::string& path) {
    if (found_ == nullptr) {
      found_ = std::make_unique<FileList>(path.c_str());
    } else {
      found_->append(new FileList(path.c_str()));
    }
  }
  void file(const std::string& windowsPath) { prefix_.writeFile(windowsPath, "x"); }

  void search() {
    open();
    if (missing_ == nullptr) missing_ = std::make_unique<FileList>(FileList::kEmptyMarker);
    searchForMissingFiles(missing_.get(), found_.get());
  }

  // Every path the progress label showed when repainted, its 24 blanks taken off.
  Paths examined() const {
    Paths paths;
    for (const ui::Shown& shown : ui_.shown(ui::Shown::Kind::Repaint)) {
      if (shown.name != "Label3") continue;
      EXPECT_EQ(shown.text.substr(shown.text.size() - kBlanks.size()), kBlanks);
      paths.push_back(shown.text.substr(0, shown.text.size() - kBlanks.size()));
    }
    return paths;
  }
  std::vector<ui::Shown> boxes() const { return ui_.shown(ui::Shown::Kind::MessageBox); }
  Paths stillMissing() const { return missing_->hasEntries() ? pathsOf(*missing_) : Paths{}; }

  ui::TestBackend ui_;
  std::unique_ptr<FileList> missing_;
  std::unique_ptr<FileList> found_;
  SearchClock previousClock_ = nullptr;
};

TEST_F(SearchTest, NamesakeBesideAFoundFileRepairedInTheFirstLevelReadToItsEnd) {
  const int link = addMissing("me.jpg");
  addFound("C:\\Pics\\found.jpg");
  for (const char* path : {"C:\\Pics\\found.jpg", "C:\\Pics\\me.jpg", "C:\\Pics\\z.jpg", "C:\\Other\\x.jpg"}) file(path);

  search();

  EXPECT_EQ(linkPathOnDisk(link), "C:\\Pics\\me.jpg");
  EXPECT_TRUE(form_->linksChanged);
  EXPECT_EQ(stillMissing(), Paths{});
  EXPECT_EQ(examined(), (Paths{"C:\\Pics\\found.jpg", "C:\\Pics\\me.jpg", "C:\\Pics\\z.jpg"}));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchTest, NamesakeInASubfolderFoundInTheSecondLevel) {
  const int link = addMissing("me.jpg");
  addFound("C:\\Pics\\found.jpg");
  for (const char* path : {"C:\\Pics\\found.jpg", "C:\\Pics\\2005\\me.jpg", "C:\\Pics\\2006\\x.jpg"}) file(path);

  search();

  EXPECT_EQ(linkPathOnDisk(link), "C:\\Pics\\2005\\me.jpg");
  // The second level is read to its end, in the order insertPath gave it.
  EXPECT_EQ(examined(), (Paths{"C:\\Pics\\2005", "C:\\Pics\\2006", "C:\\Pics\\found.jpg", "C:\\Pics\\2005\\me.jpg",
                               "C:\\Pics\\2006\\x.jpg"}));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchTest, StoredPathOfAFoundFileReadFromTheDatabaseFolder) {
  const int link = addMissing("me.jpg");
  addFound(".\\Photos\\found.jpg");
  file("C:\\Fam\\Photos\\found.jpg");
  file("C:\\Fam\\Photos\\me.jpg");

  search();

  EXPECT_EQ(linkPathOnDisk(link), ".\\Photos\\me.jpg");
}

TEST_F(SearchTest, NamesakeOnlyElsewhereOnTheDriveFoundInTheRootPass) {
  const int link = addMissing("me.jpg");
  addFound("C:\\Pics\\found.jpg");
  file("C:\\Pics\\found.jpg");
  file("C:\\Other\\me.jpg");

  search();

  EXPECT_EQ(linkPathOnDisk(link), "C:\\Other\\me.jpg");
  EXPECT_EQ(examined(), (Paths{"C:\\Pics\\found.jpg",                       // first level
                               "C:\\Fam", "C:\\Other", "C:\\Pics",          // the drive root
                               "C:\\Fam\\tree.paf", "C:\\Pics\\found.jpg",  // its folders, queued by insertPath
                               "C:\\Other\\me.jpg"}));
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchTest, FoundFolderReadAgainFromTheRootStopsAtItsFirstSubfolderThenWarning) {
  addMissing("nowhere.jpg");
  addFound("C:\\Pics\\found.jpg");
  for (const char* path : {"C:\\Pics\\found.jpg", "C:\\Pics\\2005\\a.jpg", "C:\\Pics\\2006\\b.jpg", "C:\\Pics\\z.jpg"})
    file(path);
  ui_.press(vcl::IDOK);

  search();

  EXPECT_EQ(examined(),
            (Paths{"C:\\Pics\\2005", "C:\\Pics\\2006", "C:\\Pics\\found.jpg", "C:\\Pics\\z.jpg",  // first level
                   "C:\\Pics\\2005\\a.jpg", "C:\\Pics\\2006\\b.jpg",                             // second
                   "C:\\Fam", "C:\\Pics",                                                        // root pass
                   "C:\\Fam\\tree.paf", "C:\\Pics\\2005"}));  // C:\Pics\2005 was read: C:\Pics stops there
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, "Some files could not be found.");
  EXPECT_EQ(boxes()[0].caption, "Warning");
  EXPECT_EQ(boxes()[0].buttons, vcl::MB_OK);
  EXPECT_EQ(stillMissing(), Paths{"Lost\\nowhere.jpg"});
  EXPECT_FALSE(form_->linksChanged);
}

TEST_F(SearchTest, OtherDrivesReadAfterTheRootInTheOrderOfTheLetters) {
  struct Case {
    bool otherDrives;
    const char* letters;
    Paths rootEntries;
  };
  const Case cases[] = {
      {true, "DE", {"C:\\Pics", "D:\\d.jpg", "E:\\e.jpg"}},
      {true, "ED", {"C:\\Pics", "E:\\e.jpg", "D:\\d.jpg"}},
      {true, "D", {"C:\\Pics", "D:\\d.jpg"}},
      {false, "DE", {"C:\\Pics"}},
  };
  prefix_.addDrive('D');
  prefix_.addDrive('E');
  file("C:\\Pics\\found.jpg");
  file("D:\\d.jpg");
  file("E:\\e.jpg");
  addMissing("nowhere.jpg");
  addFound("C:\\Pics\\found.jpg");
  open();
  for (const Case& c : cases) {
    form_->otherDrives = c.otherDrives;
    form_->otherDriveLetters = c.letters;
    ui_.press(vcl::IDOK);
    const std::size_t before = examined().size();
    searchForMissingFiles(missing_.get(), found_.get());
    Paths rootEntries;
    const Paths all = examined();
    for (std::size_t i = before; i < all.size(); ++i) {
      const std::string& p = all[i];
      if (p.find('\\', 3) == std::string::npos && p != "C:\\Fam") rootEntries.push_back(p);
    }
    EXPECT_EQ(rootEntries, c.rootEntries) << c.letters;
    EXPECT_EQ(boxes().back().caption, "Warning");
  }
}

TEST_F(SearchTest, LetterWithoutADriveEndsTheProcessKeepingRepairsWritten) {
  struct Case {
    const char* letters;
    const char* caption;
  };
  const Case cases[] = {{"DX", "X:\\"}, {"D,", ",:\\"}, {"D ", " :\\"}};
  prefix_.addDrive('D');
  file("C:\\Pics\\found.jpg");
  file("D:\\me.jpg");
  const int link = addMissing("me.jpg");
  addMissing("nowhere.jpg");
  addFound("C:\\Pics\\found.jpg");
  open();
  form_->otherDrives = true;
  const platform::EndProcessHook previous = platform::setEndProcessHook(throwOnEnd);
  for (const Case& c : cases) {
    form_->otherDriveLetters = c.letters;
    ui_.press(vcl::IDOK);
    int status = -1;
    try {
      searchForMissingFiles(missing_.get(), found_.get());
    } catch (const ProcessEnded& ended) {
      status = ended.status;
    }
    EXPECT_EQ(status, 2) << c.letters;
    EXPECT_EQ(boxes().back().text, "opendir failed");
    EXPECT_EQ(boxes().back().caption, c.caption);
  }
  platform::setEndProcessHook(previous);
  EXPECT_EQ(linkPathOnDisk(link), "D:\\me.jpg");
  EXPECT_EQ(stillMissing(), Paths{"Lost\\nowhere.jpg"});
}

TEST_F(SearchTest, NamesBeginningWithTwoDotsSkippedOneDotExamined) {
  const int dotted = addMissing(".x");
  addMissing("..x");
  addFound("C:\\Pics\\found.jpg");
  for (const char* path : {"C:\\Pics\\found.jpg", "C:\\Pics\\.x", "C:\\Pics\\..x", "C:\\Pics\\...\\a.jpg"}) file(path);
  ui_.press(vcl::IDOK);

  search();

  EXPECT_EQ(linkPathOnDisk(dotted), "C:\\Pics\\.x");
  EXPECT_EQ(stillMissing(), Paths{"Lost\\..x"});
  const Paths seen = examined();
  EXPECT_EQ(Paths(seen.begin(), seen.begin() + 2), (Paths{"C:\\Pics\\.x", "C:\\Pics\\found.jpg"}));
  for (const std::string& path : seen) EXPECT_EQ(path.find("\\.."), std::string::npos) << path;
}

TEST_F(SearchTest, FirstFolderReadServesANameTheOrderOfTheFoundFilesDecides) {
  struct Case {
    Paths found;
    const char* servedBy;
  };
  // C:\B\ first: C:\A\ sorts before it at the same length, so insertPath finds it no place,
  // and C:\A\ is read only in the root pass, after C:\B\ served the name.
  const Case cases[] = {
      {{"C:\\A\\f.jpg", "C:\\B\\f.jpg"}, "C:\\A\\me.jpg"},
      {{"C:\\B\\f.jpg", "C:\\A\\f.jpg"}, "C:\\B\\me.jpg"},
  };
  for (const char* path : {"C:\\A\\f.jpg", "C:\\A\\me.jpg", "C:\\B\\f.jpg", "C:\\B\\me.jpg"}) file(path);
  const int first = addMissing("me.jpg");
  const int second = addMissing("me.jpg");
  open();
  for (const Case& c : cases) {
    std::unique_ptr<FileList> missing;
    FamilyFixture::addMissing(missing, "Lost\\me.jpg", first);
    FamilyFixture::addMissing(missing, "Lost\\me.jpg", second);
    auto found = std::make_unique<FileList>(c.found[0].c_str());
    found->append(new FileList(c.found[1].c_str()));
    // The records repaired by the case before still name a file me.jpg, so they repair again.
    searchForMissingFiles(missing.get(), found.get());
    EXPECT_EQ(linkPathOnDisk(first), c.servedBy);
    EXPECT_EQ(linkPathOnDisk(second), c.servedBy);
    EXPECT_FALSE(missing->hasEntries());
  }
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchTest, NothingMissingStillListsTheFirstLevelOnce) {
  prefix_.addDrive('D');
  file("D:\\a.jpg");
  addFound("D:\\a.jpg");
  g_step = 0;  // the real pace: one repaint for the first entry

  search();

  EXPECT_EQ(examined(), Paths{"D:\\a.jpg"});
  EXPECT_EQ(form_->Label3->caption(), "D:\\a.jpg" + kBlanks);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchTest, ProgressLabelRepaintedAtMostEveryFortyMillisecondsAndShownBeforeABox) {
  struct Case {
    std::int64_t step;
    Paths repainted;
  };
  const Paths all = {"C:\\Pics\\a.jpg", "C:\\Pics\\b.jpg", "C:\\Pics\\c.jpg", "C:\\Pics\\d.jpg",
                     "C:\\Pics\\e.jpg", "C:\\Pics\\found.jpg", "C:\\Fam", "C:\\Pics",
                     "C:\\Fam\\tree.paf", "C:\\Pics\\a.jpg", "C:\\Pics\\b.jpg", "C:\\Pics\\c.jpg",
                     "C:\\Pics\\d.jpg", "C:\\Pics\\e.jpg", "C:\\Pics\\found.jpg"};
  const Case cases[] = {
      {0, {"C:\\Pics\\a.jpg", "C:\\Pics\\found.jpg"}},  // the first entry, then before the box
      {kProgressRepaintMs, all},
      {kProgressRepaintMs / 2,  // every second entry
       {"C:\\Pics\\a.jpg", "C:\\Pics\\c.jpg", "C:\\Pics\\e.jpg", "C:\\Fam", "C:\\Fam\\tree.paf",
        "C:\\Pics\\b.jpg", "C:\\Pics\\d.jpg", "C:\\Pics\\found.jpg"}},
  };
  for (const char* name : {"a", "b", "c", "d", "e", "found"}) file(std::string("C:\\Pics\\") + name + ".jpg");
  addMissing("nowhere.jpg");
  addFound("C:\\Pics\\found.jpg");
  open();
  for (const Case& c : cases) {
    g_step = c.step;
    ui_.press(vcl::IDOK);
    const std::size_t before = examined().size();
    searchForMissingFiles(missing_.get(), found_.get());
    const Paths seen = examined();
    EXPECT_EQ(Paths(seen.begin() + static_cast<std::ptrdiff_t>(before), seen.end()), c.repainted) << c.step;
    EXPECT_EQ(form_->Label3->caption(), "C:\\Pics\\found.jpg" + kBlanks);
  }
}

TEST_F(SearchTest, LongPathNamesakeLeavesTheEntryForALaterOne) {
  const int link = addMissing("me.jpg");
  addFound("C:\\Pics\\found.jpg");
  file("C:\\Pics\\found.jpg");
  const std::string longFolder = "C:\\Pics\\" + std::string(250, 'x');
  file(longFolder + "\\me.jpg");  // 265 bytes: no text record holds it
  file("C:\\Other\\me.jpg");

  search();

  EXPECT_EQ(linkPathOnDisk(link), "C:\\Other\\me.jpg");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SearchTest, SymbolicLinkCycleEndsTheSearchNormally) {
  addMissing("nowhere.jpg");
  addFound("C:\\Pics\\found.jpg");
  file("C:\\Pics\\found.jpg");
  std::filesystem::create_directory_symlink(prefix_.host("C:\\"), prefix_.host("C:\\Pics\\up"));
  std::filesystem::create_directory_symlink(prefix_.host("C:\\Pics"), prefix_.host("C:\\Pics\\self"));
  ui_.press(vcl::IDOK);

  search();

  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].caption, "Warning");
  EXPECT_EQ(stillMissing(), Paths{"Lost\\nowhere.jpg"});
}

TEST_F(SearchTest, FolderOfAnEntryIsItsFullPathUpToTheLastSeparator) {
  struct Case {
    const char* databaseFolder;
    const char* stored;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Fam\\", ".\\Photos\\me.jpg", "C:\\Fam\\Photos\\"},
      {"C:\\Fam\\", "Photos\\me.jpg", "C:\\Fam\\Photos\\"},
      {"C:\\Fam\\", "D:\\Pics\\me.jpg", "D:\\Pics\\"},
      {"C:\\Fam\\", "D:me.jpg", "D:"},
      {"C:\\Fam\\", "D:/Pics/me.jpg", "D:/Pics/"},
      {"", "me.jpg", ""},
  };
  for (const Case& c : cases) {
    form_->databaseFolder = c.databaseFolder;
    const FileList entry(c.stored);
    EXPECT_STREQ(folderOf(entry).cStr(), c.folder) << c.stored;
  }
}

}  // namespace
