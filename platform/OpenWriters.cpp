#include "platform/OpenWriters.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

namespace platform {
namespace {

bool isNumber(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (c < '0' || c > '9') return false;
  return true;
}

// The access mode in /proc/PID/fdinfo/N ("flags:\t0100002", octal) asks for writing.
bool descriptorWrites(int fdinfoFolder, const char* fdName) {
  const int info = openat(fdinfoFolder, fdName, O_RDONLY | O_CLOEXEC);
  if (info < 0) return false;
  char text[512];
  ssize_t length = 0;
  do {
    length = read(info, text, sizeof text - 1);
  } while (length < 0 && errno == EINTR);
  close(info);
  if (length <= 0) return false;
  text[length] = '\0';
  const std::string_view content(text, static_cast<std::size_t>(length));
  const std::size_t at = content.find("flags:");
  if (at == std::string_view::npos) return false;
  const unsigned long flags = std::strtoul(text + at + 6, nullptr, 8);
  const unsigned long mode = flags & static_cast<unsigned long>(O_ACCMODE);
  return mode == static_cast<unsigned long>(O_WRONLY) || mode == static_cast<unsigned long>(O_RDWR);
}

// One process: a stat through each /proc/PID/fd link (no reading of link texts), fdinfo only
// for a descriptor on the very file.
bool processWrites(int procFolder, const char* pid, std::uint64_t device, std::uint64_t inode) {
  const std::string fdPath = std::string(pid) + "/fd";
  const int fdFolder = openat(procFolder, fdPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fdFolder < 0) return false;
  DIR* descriptors = fdopendir(fdFolder);
  if (descriptors == nullptr) {
    close(fdFolder);
    return false;
  }
  bool writes = false;
  while (!writes) {
    const dirent* entry = readdir(descriptors);
    if (entry == nullptr) break;
    if (!isNumber(entry->d_name)) continue;
    struct stat status {};
    if (fstatat(fdFolder, entry->d_name, &status, 0) != 0) continue;
    if (static_cast<std::uint64_t>(status.st_dev) != device || static_cast<std::uint64_t>(status.st_ino) != inode) continue;
    const std::string infoPath = std::string(pid) + "/fdinfo";
    const int infoFolder = openat(procFolder, infoPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (infoFolder < 0) continue;
    writes = descriptorWrites(infoFolder, entry->d_name);
    close(infoFolder);
  }
  closedir(descriptors);
  return writes;
}

}  // namespace

bool anotherProcessWrites(std::uint64_t device, std::uint64_t inode) {
  const int procFolder = open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (procFolder < 0) return false;
  DIR* processes = fdopendir(procFolder);
  if (processes == nullptr) {
    close(procFolder);
    return false;
  }
  const std::string self = std::to_string(getpid());
  bool writes = false;
  while (!writes) {
    const dirent* entry = readdir(processes);
    if (entry == nullptr) break;
    if (!isNumber(entry->d_name) || self == entry->d_name) continue;
    writes = processWrites(procFolder, entry->d_name, device, inode);
  }
  closedir(processes);
  return writes;
}

}  // namespace platform
