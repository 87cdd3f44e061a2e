#include "platform/WinPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using corvane::testing::TempFolder;
using corvane::testing::TempPrefix;

// Runs a test from another current folder and goes back afterwards.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentFolder() { fs::current_path(previous_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path previous_;
};

std::string canonicalText(const fs::path& path) { return fs::canonical(path).string(); }

TEST(DriveMap, LettersComeFromTheDosdevicesLinksOfThePrefix) {
  TempFolder prefix;
  const fs::path devices = prefix.makeFolder("dosdevices");
  const fs::path driveC = prefix.makeFolder("drive_c");
  const fs::path data = prefix.makeFolder("data");
  fs::create_directory_symlink("../drive_c", devices / "c:");  // Wine's own, relative
  fs::create_directory_symlink(data, devices / "D:");          // absolute, upper-case name
  fs::create_symlink("/dev/null", devices / "c::");             // a raw device, not a drive
  prefix.makeFolder("dosdevices/e:");                           // a plain folder, not a link

  const DriveMap drives = DriveMap::fromPrefix(prefix.path().string());
  EXPECT_EQ(drives.hostFolder('C'), canonicalText(driveC));
  EXPECT_EQ(drives.hostFolder('c'), canonicalText(driveC));
  EXPECT_EQ(drives.hostFolder('d'), data.string());
  EXPECT_EQ(drives.hostFolder('E'), std::nullopt);
  EXPECT_EQ(drives.hostFolder('Z'), "/");  // nothing maps the host root, so Z: does
  EXPECT_EQ(drives.hostFolder('1'), std::nullopt);
}

TEST(DriveMap, ZIsAddedOnlyWhenNoDriveMapsTheHostRoot) {
  TempFolder prefix;
  const fs::path devices = prefix.makeFolder("dosdevices");
  fs::create_directory_symlink("/", devices / "y:");
  const DriveMap rootOnY = DriveMap::fromPrefix(prefix.path().string());
  EXPECT_EQ(rootOnY.hostFolder('Y'), "/");
  EXPECT_EQ(rootOnY.hostFolder('Z'), std::nullopt);

  // A Z: of the prefix's own is kept; the root then has no drive.
  fs::remove(devices / "y:");
  const fs::path elsewhere = prefix.makeFolder("elsewhere");
  fs::create_directory_symlink(elsewhere, devices / "z:");
  const DriveMap ownZ = DriveMap::fromPrefix(prefix.path().string());
  EXPECT_EQ(ownZ.hostFolder('Z'), elsewhere.string());
}

TEST(DriveMap, MissingOrEmptyPrefixLeavesOnlyZForTheHostRoot) {
  for (const std::string& prefix : {std::string(), std::string("/nonexistent/corvane-prefix")}) {
    useWinePrefix(prefix);
    for (char letter = 'A'; letter < 'Z'; ++letter) EXPECT_EQ(drives().hostFolder(letter), std::nullopt) << letter;
    EXPECT_EQ(drives().hostFolder('Z'), "/") << prefix;
  }
}

TEST(DriveMap, UseWinePrefixRebuildsTheMap) {
  TempPrefix prefix;
  const fs::path driveC = prefix.addDrive('C');
  EXPECT_EQ(drives().hostFolder('C'), driveC.string());
  useWinePrefix("");
  EXPECT_EQ(drives().hostFolder('C'), std::nullopt);
}

class WindowsToHost : public ::testing::Test {
 protected:
  void SetUp() override {
    driveC_ = prefix_.addDrive('C');
    prefix_.writeFile("C:\\Family\\tree.paf", "tree");
    prefix_.writeFile("C:\\Family\\Photos\\M\xC3\xBCller.jpg", "photo");  // UTF-8 on disk
    prefix_.writeFile("C:\\Family\\Photos\\\xC3\x89T\xC3\x89.jpg", "summer");    // "ÉTÉ.jpg"
    prefix_.writeFile("C:\\Mixed\\readme.txt", "1");
    prefix_.writeFile("C:\\Mixed\\README.TXT", "2");
  }
  std::string onC(const std::string& relative) const { return (driveC_ / relative).string(); }

  TempPrefix prefix_;
  fs::path driveC_;
};

TEST_F(WindowsToHost, EachComponentResolvesToTheExactOrTheOneCaseInsensitiveName) {
  struct Case {
    const char* windows;
    std::optional<std::string> host;  // below drive C:; nullopt: does not exist
  };
  const Case cases[] = {
      {"C:\\Family\\tree.paf", "Family/tree.paf"},
      {"c:/FAMILY/TREE.PAF", "Family/tree.paf"},
      {"C:\\Family/Photos\\M\xFCller.JPG", "Family/Photos/M\xC3\xBCller.jpg"},
      {"C:\\family\\photos\\M\xDCLLER.jpg", "Family/Photos/M\xC3\xBCller.jpg"},
      {"C:\\Family\\Photos\\\xE9t\xE9.JPG", "Family/Photos/\xC3\x89T\xC3\x89.jpg"},
      {"C:\\Family\\.\\Photos\\..\\tree.paf", "Family/tree.paf"},
      {"C:\\..\\..\\Family\\tree.paf", "Family/tree.paf"},  // never above the drive's root
      {"C:\\\\Family\\\\\\tree.paf", "Family/tree.paf"},
      {"C:\\Mixed\\readme.txt", "Mixed/readme.txt"},  // exact name wins over another case
      {"C:\\Mixed\\README.TXT", "Mixed/README.TXT"},
      {"C:\\Mixed\\Readme.txt", std::nullopt},  // two names equal ignoring case, neither exact
      {"C:\\Family\\absent.paf", std::nullopt},
      {"C:\\Absent\\tree.paf", std::nullopt},
      {"C:\\Family\\tree.paf\\more", std::nullopt},  // a file is no folder
      {"C:\\Family\\Photos\\M\xFCller.jpg\\", "Family/Photos/M\xC3\xBCller.jpg/"},  // kept: a file with a separator does not open
      {"C:\\Family\\tr?e.paf", std::nullopt},  // characters Windows names cannot hold
      {"C:\\Family\\tree.paf:stream", std::nullopt},
      {"C:\\Family\\\x81.paf", std::nullopt},  // undefined in 1252
      {"\\\\server\\share\\tree.paf", std::nullopt},
      {"//server/share/tree.paf", std::nullopt},
      {"\\\\?\\C:\\Family\\tree.paf", std::nullopt},
      {"D:\\Family\\tree.paf", std::nullopt},  // no such drive
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> expected = c.host ? std::optional<std::string>(onC(*c.host)) : std::nullopt;
    EXPECT_EQ(toHostPath(c.windows), expected) << c.windows;
  }
  static constexpr char kWithNul[] = "C:\\Family\\tree.paf\0x";
  EXPECT_EQ(toHostPath(std::string_view(kWithNul, sizeof kWithNul - 1)), std::nullopt);
}

TEST_F(WindowsToHost, DriveRootIsRecognisedHoweverItIsSpelled) {
  for (const char* root : {"C:", "C:\\", "c:/", "C:\\Family\\..", "C:\\.."}) {
    const std::optional<ResolvedPath> resolved = resolveWindowsPath(root);
    ASSERT_TRUE(resolved) << root;
    EXPECT_TRUE(resolved->isDriveRoot) << root;
    EXPECT_EQ(resolved->host, driveC_.string()) << root;
  }
  EXPECT_FALSE(resolveWindowsPath("C:\\Family")->isDriveRoot);
}

TEST_F(WindowsToHost, AFileAboutToBeCreatedMayBeAbsentButTakesAnExistingNameOfAnotherCase) {
  EXPECT_EQ(toHostPath("C:\\family\\New.txt", true), onC("Family/New.txt"));
  EXPECT_EQ(toHostPath("C:\\family\\TREE.PAF", true), onC("Family/tree.paf"));
  EXPECT_EQ(toHostPath("C:\\Family\\Neue \xFC.txt", true), onC("Family/Neue \xC3\xBC.txt"));
  EXPECT_EQ(toHostPath("C:\\Absent\\new.txt", true), std::nullopt);
  EXPECT_EQ(toHostPath("C:\\Mixed\\Readme.txt", true), std::nullopt);  // which one? neither
}

TEST_F(WindowsToHost, PathWithoutDriveIsTakenFromTheCurrentFolder) {
  const CurrentFolder inside(driveC_ / "Family");
  EXPECT_EQ(toHostPath("tree.paf"), onC("Family/tree.paf"));
  EXPECT_EQ(toHostPath("photos\\m\xFCller.jpg"), onC("Family/Photos/M\xC3\xBCller.jpg"));
  EXPECT_EQ(toHostPath("..\\Mixed\\readme.txt"), onC("Mixed/readme.txt"));
  EXPECT_EQ(toHostPath("\\Family\\tree.paf"), onC("Family/tree.paf"));  // root of the current drive
  EXPECT_EQ(toHostPath("."), onC("Family"));
}

TEST_F(WindowsToHost, HostPathsComeBackThroughTheLongestDrive) {
  const fs::path photos = driveC_ / "Family" / "Photos";
  prefix_.mapDrive('P', photos);
  const std::string mueller = (driveC_ / "Family" / "Photos" / "M\xC3\xBCller.jpg").string();
  EXPECT_EQ(toWindowsPath(mueller), "P:\\M\xFCller.jpg");
  EXPECT_EQ(toWindowsPath(onC("Family/tree.paf")), "C:\\Family\\tree.paf");
  EXPECT_EQ(toWindowsPath(driveC_.string()), "C:\\");
  EXPECT_EQ(toWindowsPath(onC("Family/./Photos/../tree.paf")), "C:\\Family\\tree.paf");
  EXPECT_EQ(toWindowsPath("/"), "Z:\\");
  EXPECT_EQ(toWindowsPath("/usr/lib"), "Z:\\usr\\lib");
  // "drive_cx" merely starts like drive C's folder; it is not inside it.
  std::string outside = "Z:" + driveC_.string() + "x/y";
  for (char& c : outside)
    if (c == '/') c = '\\';
  EXPECT_EQ(toWindowsPath(driveC_.string() + "x/y"), outside);
  // Round trip: host -> Windows -> host.
  for (const std::string& host : {mueller, onC("Family/tree.paf"), onC("Mixed/README.TXT")})
    EXPECT_EQ(toHostPath(*toWindowsPath(host)), host) << host;

  const CurrentFolder inside(driveC_ / "Family");
  EXPECT_EQ(toWindowsPath("tree.paf"), "C:\\Family\\tree.paf");
  EXPECT_EQ(toWindowsPath("."), "C:\\Family");
}

TEST_F(WindowsToHost, HostNamesThatWindowsCannotHoldCannotBeNamed) {
  const char* names[] = {
      "\xE6\x97\xA5\xE6\x9C\xAC.jpg",  // CJK: not in 1252
      "a\\b.jpg",                      // would read back as two components
      "12:30.jpg",
      "what?.jpg",
      "say \"cheese\".jpg",
      "\xFF\xFE.jpg",  // not UTF-8
  };
  for (const char* name : names) {
    EXPECT_EQ(windowsName(name), std::nullopt) << name;
    EXPECT_EQ(toWindowsPath(onC(std::string("Family/") + name)), std::nullopt) << name;
  }
  EXPECT_EQ(windowsName("M\xC3\xBCller.jpg"), "M\xFCller.jpg");
}

TEST(JoinWindowsPath, PutsExactlyOneBackslashBetween) {
  EXPECT_EQ(joinWindowsPath("C:\\Family", "tree.paf"), "C:\\Family\\tree.paf");
  EXPECT_EQ(joinWindowsPath("C:\\Family\\", "\\tree.paf"), "C:\\Family\\tree.paf");
  EXPECT_EQ(joinWindowsPath("C:", "tree.paf"), "C:\\tree.paf");
  EXPECT_EQ(joinWindowsPath("C:\\", "tree.paf"), "C:\\tree.paf");
  EXPECT_EQ(joinWindowsPath("", "tree.paf"), "tree.paf");
}

}  // namespace
}  // namespace platform
