#pragma once
// Throw-away folders and Wine-style prefixes for tests. Everything lives below one fresh
// folder under $TMPDIR (or /tmp) and is removed again when the object goes.
#include <filesystem>
#include <string>

namespace corvane::testing {

// The whole content of a host file; empty when it cannot be read.
std::string readBytes(const std::filesystem::path& file);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Creates a file below the folder (parent folders included) with the given bytes and
  // returns its host path.
  std::filesystem::path writeFile(const std::string& relative, const std::string& bytes) const;
  std::filesystem::path makeFolder(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// A prefix with dosdevices/ and, for each drive asked for, a folder "drive_x" that the drive
// letter maps to. While the object lives, the Windows path namespace (and the registry) use this
// prefix; the destructor points them back at the environment's prefix.
class TempPrefix {
 public:
  TempPrefix();
  ~TempPrefix();
  TempPrefix(const TempPrefix&) = delete;
  TempPrefix& operator=(const TempPrefix&) = delete;

  // Maps the letter to a new folder below the prefix and returns that folder's host path.
  std::filesystem::path addDrive(char letter);
  // Maps the letter to an existing host folder.
  void mapDrive(char letter, const std::filesystem::path& hostFolder);

  // Host path of a Windows path on a drive added here ("C:\\Family\\x" -> .../drive_c/Family/x),
  // spelled exactly as given (no case resolution); for creating fixtures.
  std::filesystem::path host(const std::string& windowsPath) const;

  // Writes a file at a Windows path on an added drive, parent folders included.
  std::filesystem::path writeFile(const std::string& windowsPath, const std::string& bytes) const;

  const std::filesystem::path& prefix() const { return root_.path(); }

 private:
  void reload() const;
  TempFolder root_;
};

}  // namespace corvane::testing
