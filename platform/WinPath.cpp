#include "platform/WinPath.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/HostPath.h"

namespace platform {
namespace {

constexpr int kDriveCount = 26;
constexpr char kRootDrive = 'Z';
constexpr std::string_view kDosDevices = "dosdevices";

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::optional<int> driveIndex(char letter) {
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  return std::nullopt;
}

// Characters no Windows file name may hold. All are ASCII, so the test is the same on 1252
// bytes and on UTF-8 bytes.
bool hasForbiddenCharacter(std::string_view name) {
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) return true;
    switch (c) {
      case '\\': case '/': case '<': case '>': case ':': case '"': case '|': case '?': case '*':
        return true;
      default:
        break;
    }
  }
  return false;
}

std::string realHostPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return {};
  std::string result(resolved);
  std::free(resolved);
  return result;
}

std::string readLink(const std::string& path) {
  std::string target(PATH_MAX, '\0');
  const ssize_t length = readlink(path.c_str(), target.data(), target.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return {};
  target.resize(static_cast<std::size_t>(length));
  return target;
}

// The host folder is "/" or starts the path and ends where a path component ends.
bool leadsPath(std::string_view folder, std::string_view path) {
  if (folder.empty()) return false;
  if (folder == "/") return !path.empty() && path.front() == '/';
  return path.substr(0, folder.size()) == folder && (path.size() == folder.size() || path[folder.size()] == '/');
}

std::mutex g_drivesMutex;
std::optional<DriveMap> g_drives;
std::optional<std::string> g_prefixOverride;  // set by useWinePrefix; "" = no prefix

// Splits a Windows path's rest (after any drive) into components, taking "." and ".." away by
// name as Windows does before it looks at the disk.
void appendComponents(std::string_view rest, std::vector<std::string>& components) {
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !isSeparator(rest[end])) ++end;
    const std::string_view part = rest.substr(0, end);
    rest = end < rest.size() ? rest.substr(end + 1) : std::string_view();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    components.emplace_back(part);
  }
}

// The entries of a folder equal to the 1252 name ignoring case: none, the one, or (stopping
// there) a second one that makes the name ambiguous. Only called after the exact name was not
// found.
struct CaseMatch {
  std::optional<std::string> name;
  bool ambiguous = false;
};

CaseMatch findIgnoringCase(const std::string& folder, std::string_view ansiName) {
  CaseMatch match;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return match;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    // A 1252 character takes one to three UTF-8 bytes.
    if (name.size() < ansiName.size() || name.size() > ansiName.size() * 3) continue;
    const std::optional<std::string> ansi = windowsName(name);
    if (!ansi || !ansiEqualsIgnoreCase(*ansi, ansiName)) continue;
    if (match.name) {
      match.ambiguous = true;
      break;
    }
    match.name = std::string(name);
  }
  closedir(dir);
  return match;
}

}  // namespace

DriveMap::DriveMap() { folders_[kRootDrive - 'A'] = "/"; }

DriveMap DriveMap::fromPrefix(const std::string& hostPrefixFolder) {
  DriveMap map;
  map.folders_ = {};
  const std::string devices = appendHostName(hostPrefixFolder, kDosDevices);
  // Relative link targets ("../drive_c") are taken from where dosdevices really is.
  std::string base = realHostPath(devices);
  if (base.empty()) base = tidyHostPath(devices);
  if (DIR* dir = opendir(devices.c_str())) {
    std::array<bool, kDriveCount> lowerSeen{};
    while (const dirent* entry = readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name.size() != 2 || name[1] != ':' || !isAsciiLetter(name[0])) continue;
      const int index = *driveIndex(name[0]);
      const bool lower = name[0] >= 'a';
      // Wine spells the links in lower case; should both spellings exist, that one wins.
      if (lowerSeen[static_cast<std::size_t>(index)] || (!lower && !map.folders_[static_cast<std::size_t>(index)].empty())) continue;
      std::string target = readLink(appendHostName(devices, name));
      if (target.empty()) continue;  // not a symbolic link
      if (target.front() != '/') target = appendHostName(base, target);
      map.set(name[0], target);
      if (lower) lowerSeen[static_cast<std::size_t>(index)] = true;
    }
    closedir(dir);
  }
  bool rootMapped = false;
  for (int i = 0; i < kDriveCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    rootMapped = rootMapped || map.folders_[at] == "/" || map.resolved_[at] == "/";
  }
  if (!rootMapped && map.folders_[kRootDrive - 'A'].empty()) map.set(kRootDrive, "/");
  return map;
}

std::optional<std::string> DriveMap::hostFolder(char letter) const {
  const std::optional<int> index = driveIndex(letter);
  if (!index) return std::nullopt;
  const std::string& folder = folders_[static_cast<std::size_t>(*index)];
  if (folder.empty()) return std::nullopt;
  return folder;
}

void DriveMap::set(char letter, std::string hostFolder) {
  const std::optional<int> index = driveIndex(letter);
  if (!index) return;
  const auto at = static_cast<std::size_t>(*index);
  if (hostFolder.empty()) {
    folders_[at].clear();
    resolved_[at].clear();
    return;
  }
  folders_[at] = tidyHostPath(hostFolder);
  resolved_[at] = realHostPath(folders_[at]);
  if (resolved_[at] == folders_[at]) resolved_[at].clear();
}

std::optional<DriveMap::Match> DriveMap::driveOf(std::string_view hostPath) const {
  std::optional<Match> best;
  for (int i = 0; i < kDriveCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    for (const std::string* folder : {&folders_[at], &resolved_[at]}) {
      if (!leadsPath(*folder, hostPath)) continue;
      if (!best || folder->size() > best->length) best = Match{static_cast<char>('A' + i), folder->size()};
    }
  }
  return best;
}

std::string winePrefixFolder() {
  {
    std::lock_guard<std::mutex> lock(g_drivesMutex);
    if (g_prefixOverride) return *g_prefixOverride;
  }
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return appendHostName(home, ".wine");
  return {};
}

const DriveMap& drives() {
  {
    std::lock_guard<std::mutex> lock(g_drivesMutex);
    if (g_drives) return *g_drives;
  }
  // winePrefixFolder takes the lock itself, so it is asked before the lock is taken again.
  const std::string prefix = winePrefixFolder();
  std::lock_guard<std::mutex> lock(g_drivesMutex);
  if (!g_drives) g_drives = prefix.empty() ? DriveMap() : DriveMap::fromPrefix(prefix);
  return *g_drives;
}

void useWinePrefix(const std::string& hostPrefixFolder) {
  std::lock_guard<std::mutex> lock(g_drivesMutex);
  g_drives = hostPrefixFolder.empty() ? DriveMap() : DriveMap::fromPrefix(hostPrefixFolder);
  g_prefixOverride = hostPrefixFolder;
}

void useDefaultWinePrefix() {
  std::lock_guard<std::mutex> lock(g_drivesMutex);
  g_drives.reset();
  g_prefixOverride.reset();
}

std::vector<std::string> windowsPathComponents(std::string_view pathWithoutDrive) {
  std::vector<std::string> components;
  appendComponents(pathWithoutDrive, components);
  return components;
}

std::optional<ResolvedPath> resolveWindowsPath(std::string_view windowsPath, bool lastMayBeAbsent) {
  if (windowsPath.empty() || windowsPath.find('\0') != std::string_view::npos) return std::nullopt;
  // "\\server\share", "\\?\..." and "\\.\..." name no drive of ours.
  if (windowsPath.size() >= 2 && isSeparator(windowsPath[0]) && isSeparator(windowsPath[1])) return std::nullopt;

  char letter = '\0';
  std::string_view rest = windowsPath;
  std::vector<std::string> components;
  if (windowsPath.size() >= 2 && isAsciiLetter(windowsPath[0]) && windowsPath[1] == ':') {
    letter = windowsPath[0];
    rest = windowsPath.substr(2);
  } else {
    const std::string current = currentHostFolder();
    if (current.empty()) return std::nullopt;
    const std::optional<std::string> currentWindows = toWindowsPath(current);
    if (!currentWindows) return std::nullopt;
    letter = (*currentWindows)[0];
    if (!isSeparator(rest.front())) appendComponents(std::string_view(*currentWindows).substr(2), components);
  }
  appendComponents(rest, components);

  const std::optional<std::string> folder = drives().hostFolder(letter);
  if (!folder) return std::nullopt;
  if (components.empty()) return ResolvedPath{*folder, true};

  std::vector<std::string> hostNames;
  hostNames.reserve(components.size());
  for (const std::string& component : components) {
    if (hasForbiddenCharacter(component)) return std::nullopt;
    std::optional<std::string> hostName = ansiToUtf8(component);
    if (!hostName) return std::nullopt;
    hostNames.push_back(std::move(*hostName));
  }
  const bool trailingSeparator = isSeparator(rest.back());
  const auto finish = [&](std::string host) {
    if (trailingSeparator) host += '/';
    return ResolvedPath{std::move(host), false};
  };

  // Every name spelled exactly as on disk: one look at the disk.
  std::string host = *folder;
  for (const std::string& name : hostNames) host = appendHostName(host, name);
  struct stat status {};
  if (lstat(host.c_str(), &status) == 0) return finish(std::move(host));
  if (errno != ENOENT) return std::nullopt;

  // Some name differs in case (or is absent): walk the components, scanning a folder only
  // where its exact name is missing.
  host = *folder;
  for (std::size_t i = 0; i < hostNames.size(); ++i) {
    std::string exact = appendHostName(host, hostNames[i]);
    if (lstat(exact.c_str(), &status) == 0) {
      host = std::move(exact);
      continue;
    }
    if (errno != ENOENT) return std::nullopt;
    const CaseMatch found = findIgnoringCase(host, components[i]);
    if (found.ambiguous) return std::nullopt;
    if (found.name) {
      host = appendHostName(host, *found.name);
    } else if (lastMayBeAbsent && i + 1 == hostNames.size()) {
      host = std::move(exact);
    } else {
      return std::nullopt;
    }
  }
  return finish(std::move(host));
}

std::optional<std::string> toHostPath(std::string_view windowsPath, bool lastMayBeAbsent) {
  std::optional<ResolvedPath> resolved = resolveWindowsPath(windowsPath, lastMayBeAbsent);
  if (!resolved) return std::nullopt;
  return std::move(resolved->host);
}

std::optional<std::string> toWindowsPath(std::string_view hostPath) {
  if (hostPath.empty()) return std::nullopt;
  const std::string tidy = tidyHostPath(hostPath);
  if (tidy.empty()) return std::nullopt;
  const std::optional<DriveMap::Match> drive = drives().driveOf(tidy);
  if (!drive) return std::nullopt;

  std::string windows{drive->letter, ':', '\\'};
  std::string_view rest = std::string_view(tidy).substr(drive->length);
  bool first = true;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty()) continue;
    const std::optional<std::string> name = windowsName(part);
    if (!name) return std::nullopt;
    if (!first) windows += '\\';
    windows += *name;
    first = false;
  }
  return windows;
}

std::optional<std::string> windowsName(std::string_view hostName) {
  if (hostName.empty() || hasForbiddenCharacter(hostName)) return std::nullopt;
  return utf8ToAnsi(hostName);
}

std::string joinWindowsPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  while (!folder.empty() && isSeparator(folder.back())) folder.remove_suffix(1);
  while (!name.empty() && isSeparator(name.front())) name.remove_prefix(1);
  std::string joined(folder);
  joined += '\\';
  joined += name;
  return joined;
}

}  // namespace platform
