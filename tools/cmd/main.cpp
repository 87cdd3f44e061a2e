// corvane-cmd BATCH: runs a batch file the way the Windows command interpreter runs it for
// Corvane's archive (see Interpreter.h). BATCH is the batch's Windows path ("C:\Family\x.bat")
// or a host path. Windows starts a batch from its whole command line, unquoted, so a path with
// blanks may come as several arguments; they are joined again with one blank each.
//
// Exit status: that of the batch's last line; one that does not fit a host status (9009, a
// command that is not recognized) gives 255.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <optional>
#include <string>

#include "platform/WinPath.h"
#include "tools/cmd/Interpreter.h"
#include "tools/cmd/Messages.h"
#include "tools/common/Console.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr int kLargestStatus = 255;

bool hasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::optional<std::string> readWholeFile(const std::string& hostPath) {
  const int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      close(fd);
      if (got < 0) return std::nullopt;
      return text;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The console may go away while the batch runs (the program that started it ended, and with
  // it the pipe its output went to): the batch still runs to its last line, its console output
  // lost. The programs it runs inherit this, so the archiver too finishes its work.
  std::signal(SIGPIPE, SIG_IGN);
  if (argc < 2) {
    tools::writeAll(STDERR_FILENO, "usage: corvane-cmd BATCH-FILE\n");
    return kUsageStatus;
  }
  std::string batch = argv[1];
  for (int i = 2; i < argc; ++i) batch += std::string(" ") + argv[i];

  const std::optional<std::string> host = hasDrive(batch) ? platform::toHostPath(batch) : batch;
  const std::optional<std::string> text = host ? readWholeFile(*host) : std::nullopt;
  if (!text) {
    tools::writeAll(STDERR_FILENO, std::string(tools::cmd::messages::kPathNotFound) + "\n");
    return kFailureStatus;
  }

  // The batch starts in our current folder, as the interpreter starts in its caller's.
  tools::cmd::Interpreter interpreter(platform::toWindowsPath(".").value_or(""));
  const int status = interpreter.run(*text);
  return status < 0 || status > kLargestStatus ? kLargestStatus : status;
}
