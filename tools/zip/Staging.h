#pragma once
// The folder Info-ZIP zip runs in. Info-ZIP stores each file under the name it finds it by, in
// the host's spelling, while the archive must hold the names as the list spells them (letter
// case included, "Photos/me.jpg" for a disk's "photos/ME.JPG"). So the folder holds, for each
// entry, a symbolic link named exactly as the entry, leading to the file; zip follows links
// (it stores the file, not the link) and so stores the file's bytes, mode and time under the
// entry's name. Folders on the way are real folders; nothing in the folder is ever written
// through. Everything goes when the object goes.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tools::zip {

class Staging {
 public:
  // A new, empty folder under $TMPDIR (or /tmp); nullptr when it cannot be made.
  static std::unique_ptr<Staging> create();
  ~Staging();
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;

  // The folder zip runs in; entry names are relative to it.
  const std::string& entriesFolder() const { return entries_; }

  // A link at the entry name to the host file; false when it cannot be made.
  bool addFile(const std::string& entryName, const std::string& hostTarget);
  // A real folder at the entry name (zip stores it as a folder entry).
  bool addFolder(const std::string& entryName);

  // Writes the names, one a line, into a file outside the entries; its host path.
  std::optional<std::string> writeNameList(const std::vector<std::string>& entryNames);

  // Info-ZIP zip 3.0 on Unix stores names as UTF-8 with the UTF-8 flag only when it can set
  // the locale "en_US.UTF-8", a name it asks for by itself; many systems carry only C.UTF-8.
  // This makes a locale folder (for LOCPATH) where en_US.UTF-8 and C.UTF-8 are both the
  // system's C.UTF-8 data. nullopt when that data is not found as a folder.
  std::optional<std::string> utf8LocaleFolder();

 private:
  explicit Staging(std::string root);
  std::string root_;
  std::string entries_;
};

}  // namespace tools::zip
