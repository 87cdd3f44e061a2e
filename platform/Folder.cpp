#include "platform/Folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

#include "platform/Cp1252.h"
#include "platform/HostPath.h"
#include "platform/WinPath.h"

namespace platform {
namespace {

// statfs f_type of file systems that show the kernel rather than files: listing them means
// wandering through /proc, /sys and their like, so they are never listed.
constexpr std::array<std::uint64_t, 19> kPseudoFileSystems = {
    0x9fa0,      // proc
    0x62656572,  // sysfs
    0x27e0eb,    // cgroup
    0x63677270,  // cgroup2
    0x1cd1,      // devpts
    0x64626720,  // debugfs
    0x74726163,  // tracefs
    0x73636673,  // securityfs
    0x6165676c,  // pstore
    0xcafe4a11,  // bpf
    0x62656570,  // configfs
    0x65735543,  // fusectl
    0x19800202,  // mqueue
    0x0187,      // autofs (a mount point not yet mounted)
    0x42494e4d,  // binfmt_misc
    0xde5e81e4,  // efivarfs
    0xf97cff8c,  // selinuxfs
    0x6e736673,  // nsfs
    0x67596969,  // rpc_pipefs
};
// devtmpfs reports itself as tmpfs; only the mount table tells the two apart.
constexpr std::uint64_t kTmpfsMagic = 0x01021994;
constexpr std::string_view kDevtmpfsName = "devtmpfs";

struct Identity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const Identity&) const = default;
};

Identity identityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// Whether the device is mounted as devtmpfs, from /proc/self/mountinfo
// ("36 35 0:5 / /dev rw,nosuid - devtmpfs udev rw"). Asked only for tmpfs devices and kept,
// so a search through /tmp reads the table once.
bool isDevtmpfs(std::uint64_t device) {
  static std::mutex mutex;
  static std::map<std::uint64_t, bool> known;
  std::lock_guard<std::mutex> lock(mutex);
  if (const auto found = known.find(device); found != known.end()) return found->second;

  bool devtmpfs = false;
  if (FILE* table = std::fopen("/proc/self/mountinfo", "re")) {
    const auto dev = static_cast<dev_t>(device);
    const std::string wanted = std::to_string(major(dev)) + ":" + std::to_string(minor(dev));
    char line[4096];
    while (!devtmpfs && std::fgets(line, sizeof line, table) != nullptr) {
      const std::string_view text = line;
      // Fields: mount id, parent id, major:minor, ...; after " - " the file system type.
      const std::size_t first = text.find(' ');
      const std::size_t second = first == std::string_view::npos ? first : text.find(' ', first + 1);
      const std::size_t third = second == std::string_view::npos ? second : text.find(' ', second + 1);
      if (third == std::string_view::npos || text.substr(second + 1, third - second - 1) != wanted) continue;
      const std::size_t dash = text.find(" - ");
      if (dash == std::string_view::npos) continue;
      const std::string_view type = text.substr(dash + 3, text.find(' ', dash + 3) - (dash + 3));
      devtmpfs = type == kDevtmpfsName;
    }
    std::fclose(table);
  }
  known.emplace(device, devtmpfs);
  return devtmpfs;
}

bool isPseudo(const struct statfs& fileSystem, std::uint64_t device) {
  const auto type = static_cast<std::uint64_t>(static_cast<std::uint32_t>(fileSystem.f_type));
  if (std::find(kPseudoFileSystems.begin(), kPseudoFileSystems.end(), type) != kPseudoFileSystems.end()) return true;
  return type == kTmpfsMagic && isDevtmpfs(device);
}

// A folder opened for listing after the checks: not on a pseudo file system, and not reached
// through a way back (its identity and those of the folders above it on the host path, which
// the path passes in this order, are all different).
struct ListableFolder {
  int fd = -1;
  std::string host;
  Identity self;
  std::vector<Identity> chain;  // the folders above it on the host path, and itself
  ListableFolder() = default;
  ListableFolder(const ListableFolder&) = delete;
  ListableFolder& operator=(const ListableFolder&) = delete;
  ListableFolder(ListableFolder&& other) noexcept
      : fd(std::exchange(other.fd, -1)), host(std::move(other.host)), self(other.self), chain(std::move(other.chain)) {}
  ~ListableFolder() {
    if (fd >= 0) close(fd);
  }
  bool onChain(const Identity& identity) const { return std::find(chain.begin(), chain.end(), identity) != chain.end(); }
};

std::optional<ListableFolder> openListable(const std::string& resolvedHost) {
  ListableFolder folder;
  folder.host = resolvedHost;
  while (folder.host.size() > 1 && folder.host.back() == '/') folder.host.pop_back();
  folder.fd = open(folder.host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder.fd < 0) return std::nullopt;
  struct stat status {};
  struct statfs fileSystem {};
  if (fstat(folder.fd, &status) != 0 || fstatfs(folder.fd, &fileSystem) != 0) return std::nullopt;
  folder.self = identityOf(status);
  if (isPseudo(fileSystem, folder.self.device)) return std::nullopt;

  // Each leading part of the path ("/", "/p", "/p/drive_c", ...), looked at as the path
  // itself goes, through any symbolic links on the way.
  const std::string& host = folder.host;
  for (std::size_t slash = 0; host != "/" && slash != std::string::npos; slash = host.find('/', slash + 1)) {
    const std::string above = slash == 0 ? std::string("/") : host.substr(0, slash);
    if (stat(above.c_str(), &status) != 0) return std::nullopt;
    const Identity identity = identityOf(status);
    if (folder.onChain(identity)) return std::nullopt;
    folder.chain.push_back(identity);
  }
  if (folder.onChain(folder.self)) return std::nullopt;
  folder.chain.push_back(folder.self);
  return folder;
}

// Whether an entry can itself be listed. A plain file costs nothing: d_type says so. Folders
// and links are looked at once, since a folder may be a mount point of a pseudo file system or
// a bind mount of a folder above, and a link may lead anywhere.
bool entryIsFolder(const ListableFolder& folder, const dirent& entry) {
  if (entry.d_type != DT_DIR && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status {};
  if (fstatat(folder.fd, entry.d_name, &status, AT_NO_AUTOMOUNT) != 0 || !S_ISDIR(status.st_mode)) return false;
  // A folder without read access cannot be listed either.
  if (faccessat(folder.fd, entry.d_name, R_OK, AT_EACCESS) != 0) return false;
  const Identity identity = identityOf(status);
  if (folder.onChain(identity)) return false;
  if (identity.device == folder.self.device) return true;  // same file system: not a pseudo one
  struct statfs fileSystem {};
  const std::string path = appendHostName(folder.host, entry.d_name);
  return statfs(path.c_str(), &fileSystem) == 0 && !isPseudo(fileSystem, identity.device);
}

bool nameOrder(const FolderEntry& a, const FolderEntry& b) {
  const int order = ansiCompareIgnoreCase(a.name, b.name);
  if (order != 0) return order < 0;
  return a.name < b.name;  // names equal but for case: by bytes, so the order never varies
}

// Reads the entries (without "." and ".."); with firstOnly, stops at the first one.
std::optional<std::vector<FolderEntry>> readEntries(ListableFolder& folder, bool firstOnly) {
  const int fd = dup(folder.fd);
  if (fd < 0) return std::nullopt;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return std::nullopt;
  }
  std::vector<FolderEntry> entries;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view hostName = entry->d_name;
    if (hostName == "." || hostName == "..") continue;
    std::optional<std::string> name = windowsName(hostName);
    if (!name) continue;  // Windows cannot name it, so the system cannot see it
    entries.push_back(FolderEntry{std::move(*name), entryIsFolder(folder, *entry)});
    if (firstOnly) break;
  }
  closedir(dir);
  return entries;
}

}  // namespace

std::optional<std::vector<FolderEntry>> listFolder(std::string_view windowsPath) {
  const std::optional<ResolvedPath> resolved = resolveWindowsPath(windowsPath);
  if (!resolved) return std::nullopt;
  std::optional<ListableFolder> folder = openListable(resolved->host);
  if (!folder) return std::nullopt;
  std::optional<std::vector<FolderEntry>> entries = readEntries(*folder, false);
  if (!entries) return std::nullopt;
  std::sort(entries->begin(), entries->end(), nameOrder);
  if (resolved->isDriveRoot) {
    if (entries->empty()) return std::nullopt;  // NTFS gives a root no "." and "..": nothing to list
    return entries;
  }
  entries->insert(entries->begin(), {FolderEntry{".", true}, FolderEntry{"..", true}});
  return entries;
}

bool isListableFolder(std::string_view windowsPath) {
  const std::optional<ResolvedPath> resolved = resolveWindowsPath(windowsPath);
  if (!resolved) return false;
  std::optional<ListableFolder> folder = openListable(resolved->host);
  if (!folder) return false;
  if (!resolved->isDriveRoot) return true;
  const std::optional<std::vector<FolderEntry>> first = readEntries(*folder, true);
  return first && !first->empty();
}

}  // namespace platform
