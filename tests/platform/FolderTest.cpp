#include "platform/Folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using corvane::testing::TempPrefix;

struct Listed {
  std::string name;
  bool isFolder;
  bool operator==(const Listed&) const = default;
};

void PrintTo(const Listed& entry, std::ostream* out) { *out << entry.name << (entry.isFolder ? "/" : ""); }

std::optional<std::vector<Listed>> list(const char* windowsPath) {
  const std::optional<std::vector<FolderEntry>> entries = listFolder(windowsPath);
  if (!entries) return std::nullopt;
  std::vector<Listed> listed;
  for (const FolderEntry& entry : *entries) listed.push_back({entry.name, entry.isFolder});
  return listed;
}

std::optional<Listed> find(const char* windowsPath, const std::string& name) {
  const std::optional<std::vector<Listed>> entries = list(windowsPath);
  if (!entries) return std::nullopt;
  for (const Listed& entry : *entries)
    if (entry.name == name) return entry;
  return std::nullopt;
}

class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override { driveC_ = prefix_.addDrive('C'); }
  TempPrefix prefix_;
  fs::path driveC_;
};

TEST_F(FolderTest, EntriesComeDotsFirstThenInCaseInsensitiveOrder) {
  for (const char* name : {"b.txt", "A.txt", "a.TXT", "Zeta", "_x", ".hidden", "\xC3\xA9mile", "\xE6\x97\xA5.jpg"})
    prefix_.writeFile(std::string("C:\\Photos\\") + name, "x");
  prefix_.writeFile("C:\\Photos\\sub\\inner.jpg", "x");

  const std::vector<Listed> expected = {
      {".", true},      {"..", true},   {".hidden", false}, {"A.txt", false}, {"a.TXT", false},
      {"b.txt", false}, {"sub", true},  {"Zeta", false},    {"_x", false},    {"\xE9mile", false},
  };  // the CJK name has no 1252 form and is left out
  EXPECT_EQ(list("C:\\Photos"), expected);
  EXPECT_EQ(list("c:/photos/"), expected);
  EXPECT_EQ(list("C:\\Photos\\sub"), (std::vector<Listed>{{".", true}, {"..", true}, {"inner.jpg", false}}));
}

TEST_F(FolderTest, DriveRootHasNoDotsAndAnEmptyRootCannotBeListed) {
  prefix_.addDrive('E');
  EXPECT_EQ(list("E:\\"), std::nullopt);
  EXPECT_FALSE(isListableFolder("E:"));

  prefix_.writeFile("C:\\tree.paf", "x");
  prefix_.writeFile("C:\\Family\\a.jpg", "x");
  const std::vector<Listed> root = {{"Family", true}, {"tree.paf", false}};
  for (const char* path : {"C:\\", "C:", "c:/", "C:\\Family\\.."}) {
    EXPECT_EQ(list(path), root) << path;
    EXPECT_TRUE(isListableFolder(path)) << path;
  }
  // The same folder reached below another drive is no root there.
  prefix_.mapDrive('D', driveC_.parent_path());
  EXPECT_EQ(list("D:\\drive_c")->front().name, ".");
}

TEST_F(FolderTest, WhatIsNoFolderCannotBeListed) {
  prefix_.writeFile("C:\\Family\\tree.paf", "x");
  for (const char* path : {"C:\\Family\\tree.paf", "C:\\Absent", "Q:\\", "\\\\server\\share"}) {
    EXPECT_EQ(list(path), std::nullopt) << path;
    EXPECT_FALSE(isListableFolder(path)) << path;
  }
  EXPECT_TRUE(isListableFolder("C:\\Family"));
}

TEST_F(FolderTest, LinksBackToAFolderAboveAreNoFolders) {
  prefix_.writeFile("C:\\Family\\tree.paf", "x");
  prefix_.writeFile("C:\\Other\\a.jpg", "x");
  const fs::path family = driveC_ / "Family";
  fs::create_directory_symlink("..", family / "up");              // to the drive's root
  fs::create_directory_symlink(".", family / "self");             // to itself
  fs::create_directory_symlink(driveC_.parent_path(), family / "prefix");  // above the drive
  fs::create_directory_symlink("../Other", family / "other");     // a sideways link: a folder
  fs::create_symlink("tree.paf", family / "tree-link.paf");       // to a file
  fs::create_symlink("absent", family / "dangling");

  const std::vector<Listed> expected = {
      {".", true},        {"..", true},     {"dangling", false},      {"other", true},
      {"prefix", false},  {"self", false},  {"tree-link.paf", false}, {"tree.paf", false},
      {"up", false},
  };
  EXPECT_EQ(list("C:\\Family"), expected);

  for (const char* path : {"C:\\Family\\up", "C:\\Family\\self", "C:\\Family\\prefix", "C:\\Family\\up\\Family",
                           "C:\\Family\\self\\self", "C:\\Family\\up\\Other"}) {
    EXPECT_EQ(list(path), std::nullopt) << path;
    EXPECT_FALSE(isListableFolder(path)) << path;
  }
  EXPECT_EQ(list("C:\\Family\\other"), (std::vector<Listed>{{".", true}, {"..", true}, {"a.jpg", false}}));
}

TEST_F(FolderTest, PseudoFileSystemsAreNeitherFoldersNorListable) {
  ASSERT_EQ(prefix_.host("C:\\x").parent_path(), driveC_);
  fs::create_directory_symlink("/proc", driveC_ / "proc-link");
  fs::create_directory_symlink("/sys", driveC_ / "sys-link");
  fs::create_directory_symlink("/usr", driveC_ / "usr-link");
  EXPECT_EQ(find("C:\\", "proc-link"), (Listed{"proc-link", false}));
  EXPECT_EQ(find("C:\\", "sys-link"), (Listed{"sys-link", false}));
  EXPECT_EQ(find("C:\\", "usr-link"), (Listed{"usr-link", true}));

  // Z: maps the host root (nothing else does in this prefix).
  EXPECT_EQ(find("Z:\\", "proc"), (Listed{"proc", false}));
  EXPECT_EQ(find("Z:\\", "sys"), (Listed{"sys", false}));
  EXPECT_EQ(find("Z:\\", "usr"), (Listed{"usr", true}));
  for (const char* path : {"Z:\\proc", "Z:\\proc\\self", "Z:\\sys", "C:\\proc-link", "C:\\sys-link\\kernel"}) {
    EXPECT_EQ(list(path), std::nullopt) << path;
    EXPECT_FALSE(isListableFolder(path)) << path;
  }
  EXPECT_TRUE(isListableFolder("C:\\usr-link"));
}

// devtmpfs calls itself tmpfs; only the mount table tells. Containers often give /dev a plain
// tmpfs, which is listed like any other folder.
TEST_F(FolderTest, DevtmpfsIsAPseudoFileSystemToo) {
  std::ifstream mounts("/proc/self/mountinfo");
  bool devtmpfs = false;
  for (std::string line; std::getline(mounts, line);)
    devtmpfs = devtmpfs || (line.find(" /dev ") != std::string::npos && line.find(" - devtmpfs ") != std::string::npos);
  if (!devtmpfs) GTEST_SKIP() << "/dev is no devtmpfs here";
  EXPECT_EQ(find("Z:\\", "dev"), (Listed{"dev", false}));
  EXPECT_EQ(list("Z:\\dev"), std::nullopt);
}

}  // namespace
}  // namespace platform
