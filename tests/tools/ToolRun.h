#pragma once
// Runs the outside programs as the archive batch does: as child processes, in a folder, with
// the test's prefix in WINEPREFIX (the namespace of a child knows only its environment).
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"  // readBytes

namespace corvane::testing {

struct ToolRun {
  int status = -1;
  std::string output;  // standard output
  std::string errors;  // standard error
};

struct ToolSetup {
  std::filesystem::path folder;                      // where it starts
  std::optional<std::filesystem::path> winePrefix;   // WINEPREFIX for it
  std::optional<std::filesystem::path> input;        // standard input; else /dev/null
  // Standard output and error go to a pipe nobody reads any more, as when the program whose
  // console they were has ended.
  bool consoleGone = false;
};

ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments, const ToolSetup& setup);


// Every file below the folder by its "/"-separated relative path, with its bytes.
std::map<std::string, std::string> filesBelow(const std::filesystem::path& folder);

// Unpacks an archive with Info-ZIP unzip into the folder (UTF-8 names) and gives its files.
std::map<std::string, std::string> unpack(const std::filesystem::path& archive, const std::filesystem::path& folder);

// The host program found in PATH, as the programs look it up; false when it is not there.
bool onPath(const std::string& program);

}  // namespace corvane::testing
