#pragma once
// The command interpreter for the batch files Corvane writes: it runs the lines one after
// another, each to its end, and goes on after a line that failed, so that a batch's last line
// always runs. It knows "@", "echo", "cd"/"chdir", "copy", "move", programs named by path, and
// the redirections "<", ">" and ">>"; anything else gets the interpreter's "is not recognized"
// line and the batch goes on. Paths are Windows paths, resolved through the platform's path
// namespace against the batch's own current folder.
//
// What the batch shows goes to the console (our standard output and error) as host text
// (UTF-8, "\n"); what it writes into files is Windows text (the 1252 bytes, CR LF), so
// "echo 44 >f" leaves "44 \r\n" in f as on Windows.
#include <optional>
#include <string>
#include <string_view>

#include "tools/cmd/BatchLine.h"

namespace tools::cmd {

struct LineStreams;

class Interpreter {
 public:
  // currentFolder: the batch's current folder in Windows form ("C:\Family"); empty when the
  // host's current folder has none, so relative paths name nothing until a cd. The process's
  // own current folder follows the batch's, so the programs it runs start there.
  explicit Interpreter(std::string currentFolder);

  // Runs every line of the batch text (lines end in CR LF or LF; the last may have no end)
  // and returns the status of the last line that ran: 0 when it succeeded, the program's
  // status for a program, else the interpreter's error level (1, or 9009 for a command that
  // is not recognized).
  int run(std::string_view batchText);

 private:
  int runLine(std::string_view line);
  int runEcho(const CommandWord& word, LineStreams& streams);
  int runCd(std::string_view arguments, LineStreams& streams);
  int runCopy(std::string_view arguments, LineStreams& streams);
  int runMove(std::string_view arguments, LineStreams& streams);
  int runProgram(const CommandWord& word, LineStreams& streams);

  bool openRedirections(const BatchLine& line, LineStreams& streams);
  void showCommand(const BatchLine& line) const;

  // A Windows path of the batch made absolute against the current folder.
  std::optional<std::string> windowsPathOf(std::string_view path) const;
  std::optional<std::string> hostPathOf(std::string_view path, bool lastMayBeAbsent = false) const;
  std::optional<std::string> programHostPath(std::string_view name) const;

  std::string current_;
  bool echoOn_ = true;
};

}  // namespace tools::cmd
