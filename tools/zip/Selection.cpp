#include "tools/zip/Selection.h"

#include <sys/stat.h>

#include <optional>
#include <set>

#include "platform/Cp1252.h"
#include "platform/WinPath.h"

namespace tools::zip {
namespace {

bool hasDrive(std::string_view name) {
  return name.size() >= 2 && name[1] == ':' && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

}  // namespace

std::vector<std::string> listLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
  }
  return lines;
}

std::string entryName(std::string_view windowsName) {
  if (hasDrive(windowsName)) windowsName.remove_prefix(2);
  const std::vector<std::string> parts = platform::windowsPathComponents(windowsName);
  std::string ansi;
  for (const std::string& part : parts) {
    if (!ansi.empty()) ansi += '/';
    ansi += part;
  }
  return platform::ansiToUtf8(ansi).value_or("");
}

Selection selectEntries(const std::vector<std::string>& windowsNames) {
  Selection selection;
  std::set<std::string> hostPaths;
  std::set<std::string> names;
  for (const std::string& windowsName : windowsNames) {
    const std::optional<std::string> host = platform::toHostPath(windowsName);
    const std::string name = entryName(windowsName);
    struct stat status {};
    if (!host || name.empty() || stat(host->c_str(), &status) != 0 || (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))) {
      selection.unmatched.push_back(windowsName);
      continue;
    }
    // toHostPath gives one spelling for one path: the disk's names, "." and ".." taken away
    // (and a trailing separator kept, which one folder named with and without must not split).
    std::string key = *host;
    while (key.size() > 1 && key.back() == '/') key.pop_back();
    if (!hostPaths.insert(key).second) continue;
    if (!names.insert(name).second) {
      selection.repeated.push_back(name);
      continue;
    }
    selection.entries.push_back(Entry{name, *host, S_ISDIR(status.st_mode)});
  }
  return selection;
}

}  // namespace tools::zip
