// zip.exe ARCHIVE [NAME...] [-@]: Corvane's archiver. Takes the arguments the archive batch
// passes ("zip.exe 1kvr4959 -@ <list"), reads the names in Windows form (from the arguments
// and, with "-@", one a line from standard input), resolves each against the current folder
// through the path namespace, and has Info-ZIP zip build the archive so that it holds the
// entries the Windows archiver stores: the names as written, "\" as "/", without ".\"
// (see Selection.h), in UTF-8 with the UTF-8 flag where they go beyond ASCII.
//
// An archive name without extension gets ".zip". The archive is made new: one left from an
// interrupted earlier run is replaced, not added to, so it never carries files of that run.
// A name that resolves to nothing is reported as Info-ZIP does ("name not matched") and left
// out. Exit status: Info-ZIP's (0 done, 12 nothing to do, ...), or 127 when it cannot run.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinPath.h"
#include "tools/common/ChildProcess.h"
#include "tools/common/Console.h"
#include "tools/zip/Selection.h"
#include "tools/zip/Staging.h"

namespace {

// Info-ZIP's exit statuses that this program gives itself.
constexpr int kTemporaryFileFailure = 10;
constexpr int kCannotCreateArchive = 15;
constexpr int kInvalidArguments = 16;
constexpr int kCannotRun = 127;

constexpr char kInfoZip[] = "zip";
constexpr char kNamesFromInput[] = "-@";
constexpr char kDefaultExtension[] = ".zip";

struct Arguments {
  std::string archive;
  std::vector<std::string> names;
  bool namesFromInput = false;
};

void say(const std::string& text) { tools::writeAll(STDERR_FILENO, text + "\n"); }

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments arguments;
  bool haveArchive = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == kNamesFromInput) {
      arguments.namesFromInput = true;
    } else if (word.size() > 1 && word.front() == '-') {
      say("zip error: Invalid command arguments (option " + tools::consoleText(word) + " not supported here)");
      return std::nullopt;
    } else if (!haveArchive) {
      arguments.archive = word;
      haveArchive = true;
    } else {
      arguments.names.push_back(word);
    }
  }
  if (!haveArchive) {
    say("zip error: Invalid command arguments (no archive named)");
    return std::nullopt;
  }
  return arguments;
}

std::string withDefaultExtension(const std::string& archive) {
  const std::size_t lastName = archive.find_last_of("\\/:");
  const std::size_t dot = archive.rfind('.');
  const bool hasExtension = dot != std::string::npos && (lastName == std::string::npos || dot > lastName);
  return hasExtension ? archive : archive + kDefaultExtension;
}

std::string readAllInput() {
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

// Takes away a file left at the archive's place, so Info-ZIP makes the archive new.
void removeStaleArchive(const std::string& hostArchive) {
  struct stat status {};
  if (lstat(hostArchive.c_str(), &status) == 0 && !S_ISDIR(status.st_mode)) unlink(hostArchive.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> arguments = parseArguments(argc, argv);
  if (!arguments) return kInvalidArguments;

  const std::string archive = withDefaultExtension(arguments->archive);
  const std::optional<std::string> hostArchive = platform::toHostPath(archive, true);
  if (!hostArchive) {
    say("zip error: Could not create output file (" + tools::consoleText(archive) + ")");
    return kCannotCreateArchive;
  }

  std::vector<std::string> names = arguments->names;
  if (arguments->namesFromInput) {
    for (std::string& line : tools::zip::listLines(readAllInput())) names.push_back(std::move(line));
  }
  const tools::zip::Selection selection = tools::zip::selectEntries(names);
  for (const std::string& name : selection.unmatched) say("\tzip warning: name not matched: " + tools::consoleText(name));
  for (const std::string& name : selection.repeated) say("\tzip warning: name in zip file repeated, first file kept: " + name);

  const std::unique_ptr<tools::zip::Staging> staging = tools::zip::Staging::create();
  if (!staging) {
    say("zip error: Temporary file failure (cannot make a working folder)");
    return kTemporaryFileFailure;
  }
  std::vector<std::string> entryNames;
  for (const tools::zip::Entry& entry : selection.entries) {
    const bool added = entry.folder ? staging->addFolder(entry.name) : staging->addFile(entry.name, entry.host);
    if (!added) {
      say("\tzip warning: could not open for reading: " + entry.name);
      continue;
    }
    entryNames.push_back(entry.name);
  }
  const std::optional<std::string> nameList = staging->writeNameList(entryNames);
  const int listFd = nameList ? open(nameList->c_str(), O_RDONLY | O_CLOEXEC) : -1;
  if (listFd < 0) {
    say("zip error: Temporary file failure (cannot write the name list)");
    return kTemporaryFileFailure;
  }

  removeStaleArchive(*hostArchive);
  tools::ChildSetup setup;
  setup.workingFolder = staging->entriesFolder();
  setup.input = listFd;
  setup.environment = {{"LC_ALL", "C.UTF-8"}, {"ZIP", std::nullopt}, {"ZIPOPT", std::nullopt}};
  if (const std::optional<std::string> locales = staging->utf8LocaleFolder()) setup.environment.emplace_back("LOCPATH", *locales);
  // -nw: the names are names, never patterns, whatever "*", "?" or "[" they hold.
  const tools::ChildResult result = tools::runAndWait(kInfoZip, {"-nw", *hostArchive, kNamesFromInput}, setup);
  close(listFd);
  if (!result.started) {
    say(std::string("zip.exe: cannot run Info-ZIP zip: ") + std::strerror(result.startError));
    return kCannotRun;
  }
  return result.status;
}
