#include "platform/Process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/WinPath.h"

extern char** environ;

namespace platform {
namespace {

constexpr char kOwnProgramLink[] = "/proc/self/exe";
constexpr std::size_t kLongestHostPath = 1 << 16;
constexpr int kFirstOwnDescriptor = 3;  // 0, 1 and 2 are the standard streams
constexpr int kCannotRun = 127;         // the shell's status for a program that did not run

// PATH lookup as the shell does it, done before forking: nothing after fork may allocate.
std::optional<std::string> findProgram(const std::string& program) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
  while (true) {
    const std::size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

// Tells the waiting caller why the start failed; only async-signal-safe calls from here on.
[[noreturn]] void failStart(int reportFd, int status) {
  const int error = errno;
  ssize_t ignored = write(reportFd, &error, sizeof error);
  (void)ignored;
  _exit(status);
}

void closeOwnDescriptors(int keep, long openMax) {
  const auto kept = static_cast<unsigned>(keep);
  const bool closed = (kept == kFirstOwnDescriptor || close_range(kFirstOwnDescriptor, kept - 1, 0) == 0) &&
                      close_range(kept + 1, ~0u, 0) == 0;
  if (closed) return;
  for (long fd = kFirstOwnDescriptor; fd < openMax; ++fd) {
    if (fd != keep) close(static_cast<int>(fd));
  }
}

// The first child: leaves the caller's session and forks the program's process, so that the
// program is nobody's child but init's and the caller never waits for it.
[[noreturn]] void runDetached(const char* program, char* const* argv, int reportFd, long openMax) {
  if (setsid() < 0) failStart(reportFd, 1);
  const pid_t grandchild = fork();
  if (grandchild < 0) failStart(reportFd, 1);
  if (grandchild > 0) _exit(0);

  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull < 0 || dup2(devNull, STDIN_FILENO) < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    failStart(reportFd, kCannotRun);
  }
  closeOwnDescriptors(reportFd, openMax);  // the report pipe closes itself on exec
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  execve(program, argv, environ);
  failStart(reportFd, kCannotRun);
}

}  // namespace

std::optional<std::string> ownProgramHostPath() {
  for (std::size_t size = 256; size <= kLongestHostPath; size *= 2) {
    std::string buffer(size, '\0');
    const ssize_t length = readlink(kOwnProgramLink, buffer.data(), buffer.size());
    if (length < 0) return std::nullopt;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return buffer;
    }
  }
  return std::nullopt;
}

std::optional<std::string> ownProgramPath() {
  const std::optional<std::string> host = ownProgramHostPath();
  if (!host) return std::nullopt;
  return toWindowsPath(*host);
}

bool startDetached(const std::string& hostProgram, const std::vector<std::string>& arguments) {
  const std::optional<std::string> program = findProgram(hostProgram);
  if (!program) return false;
  std::vector<std::string> words{hostProgram};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  long openMax = sysconf(_SC_OPEN_MAX);
  if (openMax < 0) openMax = 1024;

  // The child reports a failed start through this pipe; a successful exec closes it silently.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  if (report[1] < kFirstOwnDescriptor) {  // keep it clear of the standard streams
    const int moved = fcntl(report[1], F_DUPFD_CLOEXEC, kFirstOwnDescriptor);
    close(report[1]);
    if (moved < 0) {
      close(report[0]);
      return false;
    }
    report[1] = moved;
  }

  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) runDetached(program->c_str(), argv.data(), report[1], openMax);

  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  return got == 0;
}

}  // namespace platform

namespace platform {

bool startBatch(const std::string& windowsBatchPath) {
  const std::optional<std::string> program = ownProgramHostPath();
  if (!program) return false;
  const std::string::size_type slash = program->rfind('/');
  const std::string interpreter = program->substr(0, slash + 1) + "corvane-cmd";
  return startDetached(interpreter, {windowsBatchPath});
}

}  // namespace platform
