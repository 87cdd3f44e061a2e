#include "tools/zip/Staging.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace tools::zip {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemplateName = "corvane-zip-XXXXXX";
constexpr std::string_view kEntriesFolder = "entries";
constexpr std::string_view kNameListFile = "names";
constexpr std::string_view kLocaleFolder = "locale";
// Where glibc keeps compiled locales that are not in its archive, C.UTF-8 among them.
constexpr std::array<std::string_view, 2> kUtf8LocaleData = {"/usr/lib/locale/C.utf8", "/usr/lib/locale/C.UTF-8"};
constexpr std::array<std::string_view, 2> kUtf8LocaleNames = {"en_US.UTF-8", "C.UTF-8"};
constexpr std::string_view kCharacterTypes = "LC_CTYPE";

}  // namespace

std::unique_ptr<Staging> Staging::create() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + std::string(kTemplateName);
  if (mkdtemp(pattern.data()) == nullptr) return nullptr;
  std::unique_ptr<Staging> staging(new Staging(pattern));
  if (mkdir(staging->entries_.c_str(), S_IRWXU) != 0) return nullptr;
  return staging;
}

Staging::Staging(std::string root) : root_(std::move(root)), entries_(root_ + "/" + std::string(kEntriesFolder)) {}

Staging::~Staging() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);  // removes the links, never what they lead to
}

bool Staging::addFile(const std::string& entryName, const std::string& hostTarget) {
  const fs::path link = fs::path(entries_) / entryName;
  std::error_code error;
  fs::create_directories(link.parent_path(), error);
  if (error) return false;
  return symlink(hostTarget.c_str(), link.c_str()) == 0;
}

bool Staging::addFolder(const std::string& entryName) {
  std::error_code error;
  fs::create_directories(fs::path(entries_) / entryName, error);
  return !error;
}

std::optional<std::string> Staging::writeNameList(const std::vector<std::string>& entryNames) {
  const std::string path = root_ + "/" + std::string(kNameListFile);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& name : entryNames) out << name << '\n';
  out.close();
  if (!out) return std::nullopt;
  return path;
}

std::optional<std::string> Staging::utf8LocaleFolder() {
  for (std::string_view data : kUtf8LocaleData) {
    if (access((std::string(data) + "/" + std::string(kCharacterTypes)).c_str(), R_OK) != 0) continue;
    const std::string folder = root_ + "/" + std::string(kLocaleFolder);
    if (mkdir(folder.c_str(), S_IRWXU) != 0) return std::nullopt;
    for (std::string_view name : kUtf8LocaleNames) {
      if (symlink(std::string(data).c_str(), (folder + "/" + std::string(name)).c_str()) != 0) return std::nullopt;
    }
    return folder;
  }
  return std::nullopt;
}

}  // namespace tools::zip
