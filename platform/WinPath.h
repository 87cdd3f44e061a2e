#pragma once
// The Windows path namespace. Inside the system every path is a Windows path in code page
// 1252 ("C:\Family\tree.paf"); this unit alone maps such a path to the host file system and
// back, through the drive map of a Wine-style prefix.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Drive letter to host folder. Built from a prefix's dosdevices folder: each symbolic link
// "X:" gives drive X. When no drive maps the host root "/", Z: maps it (unless the prefix
// gives Z: a folder of its own; then the host root has no drive).
class DriveMap {
 public:
  DriveMap();  // only Z: -> "/"
  static DriveMap fromPrefix(const std::string& hostPrefixFolder);

  // Host folder of a drive letter (either case), without a trailing slash except for "/".
  std::optional<std::string> hostFolder(char letter) const;
  // Maps the letter to a host folder (made absolute and tidied); an empty folder unmaps it.
  void set(char letter, std::string hostFolder);

  // The drive whose folder is the longest leading part of an absolute, tidy host path, and
  // the length of that part. Both the folder as mapped and its resolved form count, so a path
  // spelled through symbolic links and one without both find their drive.
  struct Match {
    char letter;
    std::size_t length;
  };
  std::optional<Match> driveOf(std::string_view hostPath) const;

 private:
  std::array<std::string, 26> folders_;  // empty = no drive
  std::array<std::string, 26> resolved_;  // realpath of the folder when it differs, else empty
};

// The prefix: the one given to useWinePrefix, else $WINEPREFIX, else ~/.wine. Its map is built
// on first use and kept. The registry reads user.reg from the same prefix.
std::string winePrefixFolder();
const DriveMap& drives();

// Tests (and the program, should it ever need it) point the namespace at another prefix.
// Rebuilds the drive map from that prefix at once; an empty folder means "no prefix" (only Z:,
// and no registry).
// Not to be called while another thread uses the namespace.
void useWinePrefix(const std::string& hostPrefixFolder);
// Back to the prefix of the environment ($WINEPREFIX, else ~/.wine), read again on next use.
void useDefaultWinePrefix();

// A Windows path resolved to the host. isDriveRoot: the path names a drive's root folder
// ("C:\", "C:", "C:\Family\..").
struct ResolvedPath {
  std::string host;
  bool isDriveRoot = false;
};

// Windows path -> existing host path, each component resolved as Windows does (the exact name,
// else the one entry equal ignoring case). "." and ".." are taken away first, as Windows does
// (never above the drive's root); empty components are ignored. nullopt: no mapped drive, a UNC
// path, a component that does not resolve or is ambiguous, a name Windows cannot hold (control
// characters, < > : " | ? *), or text that is not valid code page 1252. A path without a drive
// is relative to the current folder; "\x" is on the current folder's drive; "C:x" is "C:\x".
// With lastMayBeAbsent (a file about to be created) a last component that matches nothing is
// converted as given. A trailing separator is kept, so a file named with one does not open.
std::optional<ResolvedPath> resolveWindowsPath(std::string_view windowsPath, bool lastMayBeAbsent = false);
std::optional<std::string> toHostPath(std::string_view windowsPath, bool lastMayBeAbsent = false);

// Host path -> Windows path through the drive whose folder is the longest prefix of it.
// A relative path is taken from the current folder; "." and ".." are taken away by name.
// nullopt when no drive holds it or a name has no Windows form (see windowsName).
std::optional<std::string> toWindowsPath(std::string_view hostPath);

// The Windows form (code page 1252) of one host file name; nullopt when Windows cannot name
// it: a character 1252 does not have, invalid UTF-8, or a character Windows forbids in names
// (control characters, \ / < > : " | ? *).
std::optional<std::string> windowsName(std::string_view hostName);

// The components of a Windows path's part after its drive ("\\Photos\\.\\a.jpg" -> Photos, a.jpg),
// "." and ".." taken away by name as Windows does before it looks at the disk; "\\" and "/"
// both separate.
std::vector<std::string> windowsPathComponents(std::string_view pathWithoutDrive);

// Joins a folder and a name with exactly one backslash between them ("C:" + "x" gives "C:\x");
// an empty folder gives the name alone.
std::string joinWindowsPath(std::string_view folder, std::string_view name);

}  // namespace platform
