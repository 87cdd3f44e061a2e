#pragma once
// Folder listing by Windows path, as NTFS gives it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FolderEntry {
  std::string name;  // code page 1252
  // True when the entry can itself be listed: a folder, or a symbolic link to one that is
  // neither a way back to a folder above it nor on a pseudo file system. Lets a caller tell
  // folders from files without a second look at the disk.
  bool isFolder = false;
};

// All entries, hidden ones too: "." and ".." first (a drive root has neither, as on NTFS),
// then the rest in case-insensitive name order (1252 upper case; names equal but for case by
// their bytes, so the order never varies). Host names that Windows cannot name (see
// windowsName in WinPath.h) are left out. nullopt when the folder cannot be listed: it does
// not resolve, is not a folder, cannot be read, is reached through a way back (a symbolic link
// or bind mount leading to a folder above it on the host path), lies on a pseudo file system
// (proc, sysfs, devtmpfs, cgroup, ...), or the listing would be empty (an empty drive root).
// Cost: one look at the disk per entry that is a folder or a link; plain files cost none.
std::optional<std::vector<FolderEntry>> listFolder(std::string_view windowsPath);

// Whether the path can be opened for listing (listFolder would succeed).
bool isListableFolder(std::string_view windowsPath);

}  // namespace platform
