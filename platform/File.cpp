#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string>

#include "platform/FileFaults.h"
#include "platform/OpenWriters.h"
#include "platform/WinPath.h"

namespace platform {
namespace {

WriteFaultHook& writeFaultHook() {
  static WriteFaultHook hook;
  return hook;
}

// Opens a regular file and nothing else: a folder, a device or a FIFO is not a file here.
// O_NONBLOCK only keeps the open of a FIFO from waiting for a writer; it is cleared again.
int openRegularFile(const std::string& hostPath, int accessMode) {
  int fd = -1;
  do {
    fd = open(hostPath.c_str(), accessMode | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat status {};
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// An open file description lock, so it conflicts with every other open of the file, in this
// process too (a classic POSIX lock would not). A file system that cannot lock at all is not
// a refusal: the /proc test below still keeps other writers out.
bool lockForWriting(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // the whole file, however long it grows
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return true;
  return errno != EAGAIN && errno != EACCES;
}

// The largest size that can be moved at the offset without the end passing the largest offset.
std::size_t clampToOffsetRange(std::int64_t offset, std::size_t size) {
  const auto room = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() - offset);
  return size > room ? static_cast<std::size_t>(room) : size;
}

}  // namespace

WriteFaultHook setWriteFaultHook(WriteFaultHook hook) {
  WriteFaultHook previous = std::move(writeFaultHook());
  writeFaultHook() = std::move(hook);
  return previous;
}

File::~File() { close(fd_); }

std::unique_ptr<File> File::openExisting(std::string_view windowsPath, bool forWriting) {
  const std::optional<std::string> host = toHostPath(windowsPath);
  if (!host) return nullptr;
  const int fd = openRegularFile(*host, forWriting ? O_RDWR : O_RDONLY);
  if (fd < 0) return nullptr;
  std::unique_ptr<File> file(new File(fd, forWriting));
  if (!forWriting) return file;

  if (!lockForWriting(fd)) return nullptr;
  struct stat status {};
  if (fstat(fd, &status) != 0) return nullptr;
  if (anotherProcessWrites(static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino))) return nullptr;
  return file;
}

std::size_t File::readAt(std::int64_t offset, void* buffer, std::size_t size) {
  if (offset < 0) return 0;
  size = clampToOffsetRange(offset, size);
  auto* bytes = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t moved = pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) break;  // end of file or a failure
    done += static_cast<std::size_t>(moved);
  }
  return done;
}

std::size_t File::writeAt(std::int64_t offset, const void* bytes, std::size_t size) {
  if (offset < 0 || !writable_) return 0;
  size = clampToOffsetRange(offset, size);
  if (size > 0 && writeFaultHook()) {
    const std::size_t allowed = writeFaultHook()(offset, size);
    if (allowed < size) size = allowed;
  }
  const auto* data = static_cast<const unsigned char*>(bytes);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t moved = pwrite(fd_, data + done, size - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) break;
    done += static_cast<std::size_t>(moved);
  }
  return done;
}

bool File::flush() { return fsync(fd_) == 0; }

bool fileExists(std::string_view windowsPath) {
  const std::optional<std::string> host = toHostPath(windowsPath);
  if (!host) return false;
  const int fd = openRegularFile(*host, O_RDONLY);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool deleteFile(std::string_view windowsPath) {
  const std::optional<std::string> host = toHostPath(windowsPath);
  if (!host) return false;
  struct stat status {};
  // Deleting a file never takes a folder with it.
  if (lstat(host->c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return false;
  return unlink(host->c_str()) == 0;
}

}  // namespace platform
