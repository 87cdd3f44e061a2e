#include "tests/tools/ToolRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/TempFolder.h"
#include "tools/common/ChildProcess.h"

namespace fs = std::filesystem;

namespace corvane::testing {
namespace {

int openOrThrow(const fs::path& path, int flags) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC, 0600);
  if (fd < 0) throw std::runtime_error("cannot open " + path.string());
  return fd;
}

}  // namespace

ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments, const ToolSetup& setup) {
  TempFolder captured;
  const fs::path outputFile = captured.path() / "stdout";
  const fs::path errorFile = captured.path() / "stderr";
  const int input = openOrThrow(setup.input ? *setup.input : fs::path("/dev/null"), O_RDONLY);
  int output = openOrThrow(outputFile, O_WRONLY | O_CREAT | O_TRUNC);
  int errors = openOrThrow(errorFile, O_WRONLY | O_CREAT | O_TRUNC);
  if (setup.consoleGone) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    close(ends[0]);
    close(output);
    close(errors);
    output = ends[1];
    errors = dup(ends[1]);
  }

  tools::ChildSetup child;
  child.workingFolder = setup.folder.string();
  child.input = input;
  child.output = output;
  child.errors = errors;
  if (setup.winePrefix) child.environment.emplace_back("WINEPREFIX", setup.winePrefix->string());
  const tools::ChildResult result = tools::runAndWait(program, arguments, child);
  close(input);
  close(output);
  close(errors);
  if (!result.started) throw std::runtime_error("cannot run " + program);
  return ToolRun{result.status, readBytes(outputFile), readBytes(errorFile)};
}

std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).generic_string()] = readBytes(entry.path());
  }
  return files;
}

std::map<std::string, std::string> unpack(const fs::path& archive, const fs::path& folder) {
  fs::create_directories(folder);
  tools::ChildSetup child;
  // Info-ZIP unzip writes names outside ASCII in escaped form unless the locale is UTF-8.
  child.environment.emplace_back("LC_ALL", "C.UTF-8");
  const int quiet = openOrThrow("/dev/null", O_WRONLY);
  child.output = quiet;
  const tools::ChildResult result = tools::runAndWait("unzip", {"-q", "-o", archive.string(), "-d", folder.string()}, child);
  close(quiet);
  if (!result.started || result.status != 0) throw std::runtime_error("unzip failed on " + archive.string());
  return filesBelow(folder);
}

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (!folder.empty() && access((fs::path(folder) / program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

}  // namespace corvane::testing
