#include "tests/support/TempFolder.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/WinPath.h"

namespace fs = std::filesystem;

namespace corvane::testing {

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TempFolder::TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/corvane-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests may leave folders without write or list permission behind; give them back first.
  for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

fs::path TempFolder::writeFile(const std::string& relative, const std::string& bytes) const {
  fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
  return file;
}

fs::path TempFolder::makeFolder(const std::string& relative) const {
  fs::path folder = path_ / relative;
  fs::create_directories(folder);
  return folder;
}

TempPrefix::TempPrefix() {
  root_.makeFolder("dosdevices");
  reload();
}

TempPrefix::~TempPrefix() { platform::useDefaultWinePrefix(); }

fs::path TempPrefix::addDrive(char letter) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  fs::path folder = root_.makeFolder(std::string("drive_") + lower);
  mapDrive(letter, folder);
  return folder;
}

void TempPrefix::mapDrive(char letter, const fs::path& hostFolder) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  fs::path link = root_.path() / "dosdevices" / (std::string(1, lower) + ":");
  std::error_code ignored;
  fs::remove(link, ignored);
  fs::create_directory_symlink(hostFolder, link);
  reload();
}

fs::path TempPrefix::host(const std::string& windowsPath) const {
  if (windowsPath.size() < 2 || windowsPath[1] != ':') throw std::invalid_argument("needs a drive: " + windowsPath);
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
  fs::path result = root_.path() / (std::string("drive_") + lower);
  std::string rest = windowsPath.substr(2);
  std::string part;
  for (char c : rest + "\\") {
    if (c == '\\' || c == '/') {
      if (!part.empty()) result /= part;
      part.clear();
    } else {
      part += c;
    }
  }
  return result;
}

fs::path TempPrefix::writeFile(const std::string& windowsPath, const std::string& bytes) const {
  fs::path file = host(windowsPath);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
  return file;
}

void TempPrefix::reload() const { platform::useWinePrefix(root_.path().string()); }

}  // namespace corvane::testing
