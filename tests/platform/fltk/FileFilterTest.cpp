// The file dialog's settings as FLTK's chooser takes them.
#include <gtest/gtest.h>

#include <FL/filename.H>

#include "platform/ui/fltk/FileFilter.h"

namespace {

using ui::fltk::defaultExtension;
using ui::fltk::filterCount;
using ui::fltk::splitWindowsPath;
using ui::fltk::toFltkFilter;

TEST(FileFilter, BecomesOneLinePerDescriptionAndPattern) {
  struct Case {
    const char* filter;
    const char* fltk;
    int count;
  };
  const Case cases[] = {
      {"PAF Files|*.paf|GEDCOM|*.ged", "PAF Files\t*.paf\nGEDCOM\t*.ged", 2},
      {"Text File|*.txt", "Text File\t*.txt", 1},
      {"Pictures|*.jpg;*.gif", "Pictures\t{*.jpg,*.gif}", 1},
      {"Pictures|*.jpg; *.gif;", "Pictures\t{*.jpg,*.gif}", 1},
      {"Missing|grandma.jpg|Trailing description", "Missing\tgrandma.jpg", 1},
      {"Odd\ttab|*.x", "Odd tab\t*.x", 1},
      {"Caf\xE9|*.caf\xE9", "Caf\xC3\xA9\t*.caf\xC3\xA9", 1},  // 1252 to UTF-8
      {"", "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toFltkFilter(c.filter), c.fltk) << c.filter;
    EXPECT_EQ(filterCount(c.filter), c.count) << c.filter;
  }
}

// A filter that names one file (as the guided search of missing files does) must match that
// file and no other, whatever characters its name holds: FLTK's matcher reads [ ] { } , \ as
// its own syntax.
TEST(FileFilter, FileNameWithMatcherSyntaxMatchesItselfOnly) {
  struct Case {
    const char* name;
    const char* other;
  };
  const Case cases[] = {
      {"photo[1].jpg", "photo1.jpg"},
      {"a,b.jpg", "a.jpg"},
      {"{x}.png", "x.png"},
      {"back\\slash.jpg", "backslash.jpg"},
  };
  for (const Case& c : cases) {
    const std::string line = toFltkFilter(std::string("Missing|") + c.name);
    const std::string pattern = line.substr(line.find('\t') + 1);
    EXPECT_EQ(fl_filename_match(c.name, pattern.c_str()), 1) << c.name << " with " << pattern;
    EXPECT_EQ(fl_filename_match(c.other, pattern.c_str()), 0) << c.other << " with " << pattern;
  }
  EXPECT_EQ(fl_filename_match("TREE.PAF", "*.paf"), 1) << "letter case is ignored, as on Windows";
}

TEST(FileFilter, DefaultExtensionAndPathParts) {
  EXPECT_EQ(defaultExtension(".paf"), "paf");
  EXPECT_EQ(defaultExtension("*.txt"), "txt");
  EXPECT_EQ(defaultExtension("txt"), "txt");
  EXPECT_EQ(defaultExtension("*.*"), "");
  EXPECT_EQ(defaultExtension(""), "");

  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Family\\smith.paf", "C:\\Family\\", "smith.paf"},
      {"C:smith.paf", "C:", "smith.paf"},
      {"C:/Family/smith.paf", "C:/Family/", "smith.paf"},
      {"smith.paf", "", "smith.paf"},
      {"C:\\Family\\", "C:\\Family\\", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitWindowsPath(c.path).folder, c.folder) << c.path;
    EXPECT_EQ(splitWindowsPath(c.path).name, c.name) << c.path;
  }
}

}  // namespace
