#include "platform/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "platform/WinPath.h"

namespace platform {
namespace {

constexpr int kNewFileMode = 0666;  // less the process's umask, as any new file

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t moved = write(fd, bytes.data() + done, bytes.size() - done);
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) return false;
    done += static_cast<std::size_t>(moved);
  }
  return true;
}

}  // namespace

TextFileWriter::~TextFileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<TextFileWriter> TextFileWriter::create(std::string_view windowsPath) {
  const std::optional<std::string> host = toHostPath(windowsPath, true);
  if (!host) return nullptr;
  int fd = -1;
  do {
    fd = open(host->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, kNewFileMode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return nullptr;
  return std::unique_ptr<TextFileWriter>(new TextFileWriter(fd));
}

bool TextFileWriter::write(std::string_view text) {
  if (fd_ < 0 || !ok_) return false;
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16 + 2);
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  ok_ = writeAll(fd_, bytes);
  return ok_;
}

bool TextFileWriter::close() {
  if (fd_ < 0) return ok_;
  // A full disk may only show when the data goes to it, so ask for that before closing
  // (a device such as /dev/null cannot be synchronised and says EINVAL; nothing is lost).
  if (fdatasync(fd_) != 0 && errno != EINVAL) ok_ = false;
  if (::close(fd_) != 0) ok_ = false;
  fd_ = -1;
  return ok_;
}

}  // namespace platform
