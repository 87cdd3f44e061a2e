#include "tools/common/ChildProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

extern char** environ;

namespace tools {
namespace {

constexpr int kSignalStatusBase = 128;  // the shell's way of telling a signal's end

std::string_view variableName(std::string_view entry) { return entry.substr(0, entry.find('=')); }

// Our environment with the setup's changes, as "NAME=value" texts.
std::vector<std::string> childEnvironment(const ChildSetup& setup) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text = *entry;
    bool changed = false;
    for (const auto& change : setup.environment) changed = changed || variableName(text) == change.first;
    if (!changed) result.emplace_back(text);
  }
  for (const auto& [name, value] : setup.environment) {
    if (value) result.push_back(name + "=" + *value);
  }
  return result;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> result;
  result.reserve(texts.size() + 1);
  for (std::string& text : texts) result.push_back(text.data());
  result.push_back(nullptr);
  return result;
}

// Owns the file actions so every way out of runAndWait releases them.
class FileActions {
 public:
  FileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;

  bool redirect(int from, int to) {
    if (from < 0 || from == to) return true;
    return posix_spawn_file_actions_adddup2(&actions_, from, to) == 0;
  }
  bool changeFolder(const std::string& folder) {
    return folder.empty() || posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) == 0;
  }
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

}  // namespace

ChildResult runAndWait(const std::string& program, const std::vector<std::string>& arguments,
                       const ChildSetup& setup) {
  ChildResult result;
  FileActions actions;
  if (!actions.ok() || !actions.redirect(setup.input, STDIN_FILENO) || !actions.redirect(setup.output, STDOUT_FILENO) ||
      !actions.redirect(setup.errors, STDERR_FILENO) || !actions.changeFolder(setup.workingFolder)) {
    result.startError = ENOMEM;
    return result;
  }

  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv = pointers(words);
  std::vector<std::string> environment = childEnvironment(setup);
  std::vector<char*> envp = pointers(environment);

  pid_t child = 0;
  const bool searchPath = program.find('/') == std::string::npos;
  const int error = searchPath ? posix_spawnp(&child, program.c_str(), actions.get(), nullptr, argv.data(), envp.data())
                               : posix_spawn(&child, program.c_str(), actions.get(), nullptr, argv.data(), envp.data());
  if (error != 0) {
    result.startError = error;
    return result;
  }
  result.started = true;

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      result.status = 1;
      return result;
    }
  }
  if (WIFEXITED(status)) {
    result.status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.status = kSignalStatusBase + WTERMSIG(status);
  }
  return result;
}

}  // namespace tools
