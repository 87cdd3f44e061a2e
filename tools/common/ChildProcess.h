#pragma once
// Running a host program and waiting for it to end: how corvane-cmd runs the programs a batch
// names, and how zip.exe runs Info-ZIP zip.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tools {

struct ChildSetup {
  std::string workingFolder;  // host folder the program starts in; empty: ours
  // Descriptors that become the program's standard input, output and error; -1: ours.
  int input = -1;
  int output = -1;
  int errors = -1;
  // Changes to our environment for the program: a variable set to the value, or removed when
  // the value is empty (nullopt).
  std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

struct ChildResult {
  bool started = false;
  int startError = 0;  // errno of the failed start when not started
  int status = 0;      // exit status; 128 + the signal's number when a signal ended it
};

// Starts the program with the arguments and waits for it. argv[0] is the program as given; a
// program named without "/" is looked up in PATH. The program inherits no descriptor of ours
// other than the three standard ones, provided ours are opened close-on-exec, and keeps the
// signals we ignore ignored (as exec does).
ChildResult runAndWait(const std::string& program, const std::vector<std::string>& arguments,
                       const ChildSetup& setup = {});

}  // namespace tools
