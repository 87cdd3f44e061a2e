// The interpreter's own commands: echo, cd, copy and move.
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "tools/cmd/FileTransfer.h"
#include "tools/cmd/Interpreter.h"
#include "tools/cmd/Messages.h"
#include "tools/cmd/Streams.h"

namespace tools::cmd {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

// copy's arguments: names, the "+" between sources, and switches ("/b").
struct CopyItem {
  enum class Kind { name, plus, option };
  Kind kind;
  std::string text;  // quotes taken out; an option without its "/"
};

// As the interpreter reads them: outside quotes a blank ends a name, "+" stands on its own,
// and "/" starts a switch even right after a name ("1kvr4959.zip/b").
std::vector<CopyItem> copyItems(std::string_view arguments) {
  std::vector<CopyItem> items;
  CopyItem current{CopyItem::Kind::name, {}};
  bool open = false;
  bool quoted = false;
  const auto finish = [&] {
    if (open) items.push_back(current);
    current = CopyItem{CopyItem::Kind::name, {}};
    open = false;
  };
  for (char c : arguments) {
    if (c == '"') {
      if (current.kind == CopyItem::Kind::option) finish();
      quoted = !quoted;
      open = true;
    } else if (quoted) {
      current.text += c;
    } else if (isBlank(c)) {
      finish();
    } else if (c == '+') {
      finish();
      items.push_back(CopyItem{CopyItem::Kind::plus, "+"});
    } else if (c == '/') {
      finish();
      current.kind = CopyItem::Kind::option;
      open = true;
    } else {
      current.text += c;
      open = true;
    }
  }
  finish();
  return items;
}

// Switches that change nothing here: /b (binary, what every copy here is), /y and /-y
// (a batch never asks before it replaces), /v (verify), /z (restartable).
bool isHarmlessCopySwitch(const std::string& option) {
  const std::string lower = platform::ansiToLower(option);
  return lower == "b" || lower == "y" || lower == "-y" || lower == "v" || lower == "z";
}

// The last name of a Windows path.
std::string lastName(std::string_view windowsPath) {
  const std::size_t cut = windowsPath.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? windowsPath : windowsPath.substr(cut + 1));
}

std::string hostLastName(const std::string& hostPath) { return hostPath.substr(hostPath.rfind('/') + 1); }

bool isFolder(const std::string& hostPath) {
  struct stat status {};
  return stat(hostPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace

// "echo on" and "echo off" switch the showing of commands; "echo" alone tells which is on;
// anything else is written as it stands after the blank that follows "echo", trailing blanks
// included.
int Interpreter::runEcho(const CommandWord& word, LineStreams& streams) {
  const std::string_view text = word.rest.empty() ? std::string_view() : std::string_view(word.rest).substr(1);
  const std::string mode = platform::ansiToLower(trimBlanks(text));
  if (mode == "on" || mode == "off") {
    echoOn_ = mode == "on";
  } else if (mode.empty()) {
    streams.output.line(echoOn_ ? messages::kEchoIsOn : messages::kEchoIsOff);
  } else {
    streams.output.line(text);
  }
  return kSuccess;
}

// Changes the current folder, drive included: the batch names the folder that its programs
// must run in, and "cd" without "/d" leaving the drive unchanged would run them elsewhere
// whenever the folder lies on another drive than the one the batch started on.
int Interpreter::runCd(std::string_view arguments, LineStreams& streams) {
  std::string_view text = trimBlanks(arguments);
  if (text.size() >= 2 && text[0] == '/' && (text[1] == 'd' || text[1] == 'D') && (text.size() == 2 || isBlank(text[2]))) {
    text = trimBlanks(text.substr(2));
  }
  const std::string folder(trimBlanks(unquote(text)));
  if (folder.empty()) {
    streams.output.line(current_);
    return kSuccess;
  }
  const std::optional<std::string> host = hostPathOf(folder);
  struct stat status {};
  if (!host || stat(host->c_str(), &status) != 0) {
    streams.errors.line(messages::kPathNotFound);
    return kFailure;
  }
  if (!S_ISDIR(status.st_mode)) {
    streams.errors.line(messages::kDirectoryNameInvalid);
    return kFailure;
  }
  const std::optional<std::string> windows = platform::toWindowsPath(*host);
  if (!windows || chdir(host->c_str()) != 0) {
    streams.errors.line(messages::kPathNotFound);
    return kFailure;
  }
  current_ = *windows;
  return kSuccess;
}

// copy SOURCE[+SOURCE...] [TARGET]: the sources one after another into the target (see
// concatenateFiles). A missing source copies nothing, so no target is made of the rest.
int Interpreter::runCopy(std::string_view arguments, LineStreams& streams) {
  std::vector<std::string> sources;
  std::optional<std::string> target;
  bool expectingSource = true;
  for (const CopyItem& item : copyItems(arguments)) {
    bool fits = true;
    switch (item.kind) {
      case CopyItem::Kind::option:
        if (!isHarmlessCopySwitch(item.text)) {
          streams.errors.line(std::string(messages::kInvalidSwitch) + "/" + item.text);
          return kFailure;
        }
        break;
      case CopyItem::Kind::plus:
        fits = !expectingSource && !target;
        expectingSource = true;
        break;
      case CopyItem::Kind::name:
        if (expectingSource) {
          sources.push_back(item.text);
          expectingSource = false;
        } else {
          fits = !target;
          target = item.text;
        }
        break;
    }
    if (!fits) {
      streams.errors.line(messages::kSyntaxError);
      return kFailure;
    }
  }
  if (expectingSource) {
    streams.errors.line(messages::kSyntaxError);
    return kFailure;
  }

  std::vector<std::string> hostSources;
  for (const std::string& source : sources) {
    const std::optional<std::string> host = hostPathOf(source);
    struct stat status {};
    if (!host || stat(host->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
      streams.errors.line(messages::kFileNotFound);
      streams.output.line(messages::kNoneCopied);
      return kFailure;
    }
    hostSources.push_back(*host);
  }
  // Without a target, one source is copied into the current folder, and several are added
  // to the first.
  const std::string targetName = target ? *target : sources.size() == 1 ? lastName(sources.front()) : sources.front();
  std::optional<std::string> hostTarget = hostPathOf(targetName, true);
  if (!hostTarget) {
    streams.errors.line(messages::kPathNotFound);
    streams.output.line(messages::kNoneCopied);
    return kFailure;
  }
  if (isFolder(*hostTarget)) *hostTarget += "/" + hostLastName(hostSources.front());
  if (hostSources.size() == 1 && sameFile(hostSources.front(), *hostTarget)) {
    streams.errors.line(messages::kCopyOntoItself);
    streams.output.line(messages::kNoneCopied);
    return kFailure;
  }

  if (sources.size() > 1) {
    for (const std::string& source : sources) streams.output.line(source);
  }
  if (const int error = concatenateFiles(hostSources, *hostTarget); error != 0) {
    streams.errors.line(messages::forError(error));
    streams.output.line(messages::kNoneCopied);
    return kFailure;
  }
  streams.output.line(messages::kOneCopied);
  return kSuccess;
}

// move SOURCE TARGET: renames, replacing a file of the target's name; a target that is a
// folder receives the source under its own name.
int Interpreter::runMove(std::string_view arguments, LineStreams& streams) {
  std::vector<std::string> names;
  for (std::string& word : splitWords(arguments)) {
    if (word.size() < 2 || word.front() != '/') {
      names.push_back(std::move(word));
      continue;
    }
    const std::string option = platform::ansiToLower(std::string_view(word).substr(1));
    if (option != "y" && option != "-y") {
      streams.errors.line(std::string(messages::kInvalidSwitch) + word);
      return kFailure;
    }
  }
  if (names.size() != 2) {
    streams.errors.line(messages::kSyntaxError);
    return kFailure;
  }

  const std::optional<std::string> hostSource = hostPathOf(names[0]);
  struct stat status {};
  if (!hostSource || lstat(hostSource->c_str(), &status) != 0) {
    streams.errors.line(messages::kFileNotFound);
    return kFailure;
  }
  std::optional<std::string> hostTarget = hostPathOf(names[1], true);
  if (!hostTarget) {
    streams.errors.line(messages::kPathNotFound);
    return kFailure;
  }
  if (isFolder(*hostTarget) && !sameFile(*hostSource, *hostTarget)) *hostTarget += "/" + hostLastName(*hostSource);
  if (const int error = moveFile(*hostSource, *hostTarget); error != 0) {
    streams.errors.line(messages::forError(error));
    return kFailure;
  }
  streams.output.line(S_ISDIR(status.st_mode) ? messages::kOneFolderMoved : messages::kOneMoved);
  return kSuccess;
}

}  // namespace tools::cmd
