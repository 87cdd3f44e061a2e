#include "tools/cmd/FileTransfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string_view>

#include "tools/common/ChildProcess.h"

namespace tools::cmd {
namespace {

constexpr mode_t kNewFileMode = 0666;  // less the process's umask, as any new file
constexpr mode_t kReadBits = 0444;
constexpr mode_t kPermissionBits = 07777;  // set-user, set-group, sticky and rwx for all
constexpr int kReadToExecuteShift = 2;  // r-- to --x within each of owner, group, other
constexpr std::string_view kProgramExtension = ".exe";
constexpr std::string_view kTemporaryStem = ".corvane-copy-XXXXXX";
// A zip archive starts with a local file header: "PK\3\4".
constexpr std::array<char, 4> kZipEntrySignature = {'P', 'K', '\3', '\4'};
constexpr std::size_t kBufferSize = 1 << 16;

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

bool endsWithProgramExtension(std::string_view path) {
  if (path.size() < kProgramExtension.size()) return false;
  const std::string_view tail = path.substr(path.size() - kProgramExtension.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
    if (c != kProgramExtension[i]) return false;
  }
  return true;
}

std::string folderOf(const std::string& hostPath) {
  const std::size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

int openForReading(const std::string& hostPath) {
  int fd = -1;
  do {
    fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool startsWithZipEntry(const std::string& hostPath) {
  const Descriptor fd(openForReading(hostPath));
  if (fd.get() < 0) return false;
  std::array<char, kZipEntrySignature.size()> head{};
  return pread(fd.get(), head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) && head == kZipEntrySignature;
}

// Appends all of the source to the target; 0 or the errno.
int appendFile(int source, int target) {
  std::array<char, kBufferSize> buffer{};
  for (;;) {
    const ssize_t got = read(source, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(got)) {
      const ssize_t moved = write(target, buffer.data() + done, static_cast<std::size_t>(got) - done);
      if (moved < 0 && errno == EINTR) continue;
      if (moved <= 0) return moved < 0 ? errno : EIO;
      done += static_cast<std::size_t>(moved);
    }
  }
}

mode_t newFileMode(bool executable) {
  const mode_t mask = umask(0);
  umask(mask);
  mode_t mode = kNewFileMode & ~mask;
  if (executable) mode |= (mode & kReadBits) >> kReadToExecuteShift;
  return mode;
}

// The stub finds its archive wherever it starts, but other zip readers take the offsets in the
// central directory as they stand, and those still count from the archive's own start. A
// failure (no Info-ZIP, a damaged archive) leaves the concatenation as it is: still a working
// self-extractor.
void adjustSelfExtractor(const std::string& hostPath) {
  const Descriptor quiet(open("/dev/null", O_WRONLY | O_CLOEXEC));
  ChildSetup setup;
  setup.output = quiet.get();
  setup.errors = quiet.get();
  runAndWait("zip", {"-A", "-q", hostPath}, setup);
}

}  // namespace

int concatenateFiles(const std::vector<std::string>& hostSources, const std::string& hostTarget) {
  std::vector<int> sources;
  const auto closeSources = [&sources] {
    for (int fd : sources) close(fd);
  };
  for (const std::string& source : hostSources) {
    const int fd = openForReading(source);
    if (fd < 0) {
      const int error = errno;
      closeSources();
      return error;
    }
    sources.push_back(fd);
  }

  const bool program = endsWithProgramExtension(hostTarget);
  // Info-ZIP adds ".zip" to an archive name without extension, so the temporary file of a
  // program keeps the target's.
  const std::string suffix = program ? std::string(kProgramExtension) : std::string();
  std::string temporary = folderOf(hostTarget) + "/" + std::string(kTemporaryStem) + suffix;
  Descriptor target(mkostemps(temporary.data(), static_cast<int>(suffix.size()), O_CLOEXEC));
  if (target.get() < 0) {
    const int error = errno;
    closeSources();
    return error;
  }

  int error = 0;
  for (int source : sources) {
    if (error == 0) error = appendFile(source, target.get());
  }
  closeSources();
  if (error == 0 && close(target.release()) != 0) error = errno;
  if (error == 0 && program && hostSources.size() >= 2 && startsWithZipEntry(hostSources.back()) &&
      !startsWithZipEntry(hostSources.front())) {
    adjustSelfExtractor(temporary);
  }
  if (error == 0 && chmod(temporary.c_str(), newFileMode(program)) != 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), hostTarget.c_str()) != 0) error = errno;
  if (error != 0) unlink(temporary.c_str());
  return error;
}

int moveFile(const std::string& hostSource, const std::string& hostTarget) {
  if (rename(hostSource.c_str(), hostTarget.c_str()) == 0) return 0;
  if (errno != EXDEV) return errno;
  struct stat status {};
  if (lstat(hostSource.c_str(), &status) != 0) return errno;
  if (!S_ISREG(status.st_mode)) return EXDEV;
  if (const int error = concatenateFiles({hostSource}, hostTarget); error != 0) return error;
  chmod(hostTarget.c_str(), status.st_mode & kPermissionBits);  // the file keeps its mode, as a rename would
  return unlink(hostSource.c_str()) == 0 ? 0 : errno;
}

}  // namespace tools::cmd
