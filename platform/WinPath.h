#pragma once
// The Windows path namespace. Inside the system every path is a Windows path in code page
// 1252 ("C:\Family\tree.paf"); this unit alone maps such a path to the host file system and
// back, through the drive map of a Wine-style prefix.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Drive letter to host folder. Built from a prefix's dosdevices folder: each symbolic link
// "X:" gives drive X. When no drive maps the host root "/", Z: maps it.
class DriveMap {
 public:
  DriveMap();  // only Z: -> "/"
  static DriveMap fromPrefix(const std::string& hostPrefixFolder);

  // Host folder of a drive letter (either case), without a trailing slash except for "/".
  std::optional<std::string> hostFolder(char letter) const;
  void set(char letter, std::string hostFolder);

 private:
  std::array<std::string, 26> folders_;  // empty = no drive
};

// The prefix: $WINEPREFIX, else ~/.wine. Its map is built on first use and kept.
std::string winePrefixFolder();
const DriveMap& drives();

// Tests (and the program, should it ever need it) point the namespace at another prefix.
// Rebuilds the drive map from that prefix at once; an empty folder means "no prefix".
void useWinePrefix(const std::string& hostPrefixFolder);

// Windows path -> existing host path, each component resolved as Windows does (the exact name,
// else the one entry equal ignoring case). nullopt: no mapped drive, a UNC path, a component
// that does not resolve, or text that is not valid code page 1252. A path without a drive is
// relative to the current folder. The last component may be absent when mustExist is false
// (for files about to be created): it is then converted as given.
std::optional<std::string> toHostPath(std::string_view windowsPath, bool lastMayBeAbsent = false);

// Host path -> Windows path through the drive whose folder is the longest prefix of it.
// nullopt when the host path is relative and cannot be made absolute, or a name has no 1252 form.
std::optional<std::string> toWindowsPath(std::string_view hostPath);

// Joins a folder and a name with exactly one backslash between them.
std::string joinWindowsPath(std::string_view folder, std::string_view name);

}  // namespace platform
