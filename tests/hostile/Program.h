#pragma once
// Another program run by a test, the way a user or a script runs it: its arguments, a
// Wine-style prefix in WINEPREFIX, no display, its standard input fed and its standard output
// and error read through pipes.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace hostile {

class Program {
 public:
  // Starts argv[0] (a path) with the arguments.
  Program(const std::vector<std::string>& argv, const std::string& winePrefix);
  // Kills the program if it still runs, and waits for it.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  void send(const std::string& text);
  // End of input.
  void closeInput();
  // Reads the output until it holds the text; false when the program ended or the time ran
  // out first.
  bool waitForOutput(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Reads the output to its end and waits for the program (killing it after the timeout).
  void wait(std::chrono::milliseconds timeout = std::chrono::seconds(60));

  const std::string& output() const { return output_; }
  bool exited() const { return exited_; }
  int exitStatus() const { return exitStatus_; }  // when exited()
  int signal() const { return signal_; }          // the signal that ended it, or 0

 private:
  bool readSome(std::chrono::steady_clock::time_point until);
  void reap(bool block);

  pid_t pid_ = -1;
  int input_ = -1;
  int outputPipe_ = -1;
  std::string output_;
  bool exited_ = false;
  int exitStatus_ = -1;
  int signal_ = 0;
};

// Runs the program with the input to its end.
Program& runToEnd(Program& program, const std::string& input);

}  // namespace hostile
