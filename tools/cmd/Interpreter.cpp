#include "tools/cmd/Interpreter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "tools/cmd/Messages.h"
#include "tools/cmd/Streams.h"
#include "tools/common/ChildProcess.h"
#include "tools/common/Console.h"

namespace tools::cmd {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kNotRecognized = 9009;  // the interpreter's error level for an unknown command
constexpr mode_t kNewFileMode = 0666;  // less the process's umask, as any new file
constexpr std::string_view kProgramExtension = ".exe";

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool isRegularFile(const std::string& hostPath) {
  struct stat status {};
  return stat(hostPath.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

int openRetrying(const std::string& hostPath, int flags) {
  int fd = -1;
  do {
    fd = open(hostPath.c_str(), flags | O_CLOEXEC | O_NOCTTY, kNewFileMode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

Interpreter::Interpreter(std::string currentFolder) : current_(std::move(currentFolder)) {}

int Interpreter::run(std::string_view batchText) {
  int status = kSuccess;
  while (!batchText.empty()) {
    const std::size_t end = batchText.find('\n');
    std::string line;
    // The interpreter drops every carriage return of a line, not only the one before its end.
    for (char c : batchText.substr(0, end)) {
      if (c != '\r') line += c;
    }
    batchText = end == std::string_view::npos ? std::string_view() : batchText.substr(end + 1);

    std::string_view content = trimBlanks(line);
    while (!content.empty() && content.front() == '@') content = trimBlanks(content.substr(1));
    if (content.empty()) continue;
    status = runLine(line);
  }
  return status;
}

int Interpreter::runLine(std::string_view line) {
  const BatchLine parsed = parseLine(line);
  if (echoOn_ && !parsed.hidden) showCommand(parsed);
  LineStreams streams;
  if (parsed.malformed) {
    streams.errors.line(messages::kSyntaxError);
    return kFailure;
  }
  if (!openRedirections(parsed, streams)) return kFailure;

  const CommandWord word = splitCommandWord(parsed.command);
  if (word.name.empty()) return kSuccess;  // only redirections: the files are made, nothing runs
  if (word.written == word.name) {  // a quoted word never names a command of the interpreter
    const std::string name = platform::ansiToLower(word.name);
    if (name == "echo") return runEcho(word, streams);
    if (name == "cd" || name == "chdir") return runCd(word.rest, streams);
    if (name == "copy") return runCopy(word.rest, streams);
    if (name == "move") return runMove(word.rest, streams);
  }
  return runProgram(word, streams);
}

void Interpreter::showCommand(const BatchLine& line) const {
  writeAll(STDOUT_FILENO, "\n" + consoleText(current_ + ">" + line.shown()) + "\n");
}

bool Interpreter::openRedirections(const BatchLine& line, LineStreams& streams) {
  for (const Redirection& redirection : line.redirections) {
    const std::string name = unquote(redirection.target);
    const bool reading = redirection.handle == 0;
    const std::optional<std::string> host = hostPathOf(name, !reading);
    int fd = -1;
    if (host) fd = openRetrying(*host, reading ? O_RDONLY : O_WRONLY | O_CREAT | (redirection.append ? O_APPEND : O_TRUNC));
    if (fd < 0) {
      // The redirection failed, so its message goes to the console.
      const Stream console(STDERR_FILENO, false);
      if (reading) {
        console.line(messages::kFileNotFound);
      } else {
        console.line(host ? messages::forError(errno) : messages::kPathNotFound);
      }
      return false;
    }
    streams.opened.push_back(fd);
    if (reading) {
      streams.input = fd;
    } else if (redirection.handle == 1) {
      streams.output = Stream(fd, true);
    } else {
      streams.errors = Stream(fd, true);
    }
  }
  return true;
}

int Interpreter::runProgram(const CommandWord& word, LineStreams& streams) {
  const std::optional<std::string> program = programHostPath(word.name);
  if (!program) {
    streams.errors.line("'" + word.written + std::string(messages::kNotRecognized));
    return kNotRecognized;
  }
  ChildSetup setup;
  setup.input = streams.input;
  setup.output = streams.output.fd();
  setup.errors = streams.errors.fd();
  const ChildResult result = runAndWait(*program, splitWords(word.rest), setup);
  if (!result.started) {
    streams.errors.line(result.startError == EACCES ? messages::kAccessDenied : messages::kCannotExecute);
    return kFailure;
  }
  return result.status;
}

std::optional<std::string> Interpreter::windowsPathOf(std::string_view path) const {
  if (path.empty()) return std::nullopt;
  if (hasDrive(path) || (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]))) return std::string(path);
  if (current_.empty()) return std::nullopt;
  if (isSeparator(path.front())) return current_.substr(0, 2) + std::string(path);  // the current drive's root
  return platform::joinWindowsPath(current_, path);
}

std::optional<std::string> Interpreter::hostPathOf(std::string_view path, bool lastMayBeAbsent) const {
  const std::optional<std::string> windows = windowsPathOf(path);
  if (!windows) return std::nullopt;
  return platform::toHostPath(*windows, lastMayBeAbsent);
}

// A program is named by its path, or by a name in the current folder; as on Windows, the
// name may leave out its ".exe". Our programs are host executables named like Windows ones
// ("zip.exe"), so the file found is what runs.
std::optional<std::string> Interpreter::programHostPath(std::string_view name) const {
  for (const std::string& candidate : {std::string(name), std::string(name) + std::string(kProgramExtension)}) {
    const std::optional<std::string> host = hostPathOf(candidate);
    if (host && isRegularFile(*host)) return host;
  }
  return std::nullopt;
}

}  // namespace tools::cmd
