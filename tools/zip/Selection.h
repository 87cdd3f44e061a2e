#pragma once
// The names zip.exe is given, in Windows form, turned into what goes into the archive: each
// file resolved through the path namespace, under the entry name the Windows archiver stores.
#include <string>
#include <string_view>
#include <vector>

namespace tools::zip {

// The lines of a name list: CR LF or LF ends, the last line may have none; empty lines are
// left out.
std::vector<std::string> listLines(std::string_view text);

// The entry name the Windows archiver stores for a Windows name, in UTF-8: separators become
// "/", a drive and leading separators go, "." goes and ".." takes the name before it away
// (".\Photos\me.jpg" -> "Photos/me.jpg"). Letter case stays as written. Empty when nothing is
// left or the name is not valid code page 1252.
std::string entryName(std::string_view windowsName);

struct Entry {
  std::string name;  // entry name, UTF-8
  std::string host;  // the host path it resolved to
  bool folder = false;
};

struct Selection {
  std::vector<Entry> entries;
  std::vector<std::string> unmatched;  // names (1252) that name no file or folder
  std::vector<std::string> repeated;   // entry names (UTF-8) already taken by another file
};

// Resolves each name against the current folder. A file named twice, in whatever spelling
// (".\a.jpg" and "a.jpg", "A.JPG" and "a.jpg" for one file on disk), is taken once, under the
// first spelling: an archive cannot hold one entry name twice, and unpacked, the file answers
// to every spelling on Windows. Two different files that would get one entry name keep the
// first.
Selection selectEntries(const std::vector<std::string>& windowsNames);

}  // namespace tools::zip
