#include "tests/hostile/Program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace hostile {

Program::Program(const std::vector<std::string>& argv, const std::string& winePrefix) {
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(out[1], 2);
    setenv("WINEPREFIX", winePrefix.c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  input_ = in[1];
  outputPipe_ = out[0];
  ::signal(SIGPIPE, SIG_IGN);  // a program that ended does not take the rest of its input
}

Program::~Program() {
  if (!exited_ && pid_ > 0) {
    kill(pid_, SIGKILL);
    reap(true);
  }
  if (input_ >= 0) close(input_);
  if (outputPipe_ >= 0) close(outputPipe_);
}

void Program::send(const std::string& text) {
  std::size_t done = 0;
  while (input_ >= 0 && done < text.size()) {
    const ssize_t n = write(input_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
}

void Program::closeInput() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

bool Program::readSome(std::chrono::steady_clock::time_point until) {
  if (outputPipe_ < 0) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
  if (left.count() <= 0) return false;
  pollfd p{outputPipe_, POLLIN, 0};
  const int ready = poll(&p, 1, static_cast<int>(left.count()));
  if (ready < 0 && errno == EINTR) return true;
  if (ready <= 0) return false;
  char buffer[4096];
  const ssize_t n = read(outputPipe_, buffer, sizeof buffer);
  if (n < 0 && errno == EINTR) return true;
  if (n <= 0) {
    close(outputPipe_);
    outputPipe_ = -1;
    return false;
  }
  output_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool Program::waitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (output_.find(text) == std::string::npos) {
    if (!readSome(until)) return output_.find(text) != std::string::npos;
  }
  return true;
}

void Program::wait(std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (readSome(until)) {
  }
  if (outputPipe_ >= 0) kill(pid_, SIGKILL);  // the time ran out
  reap(true);
}

void Program::reap(bool block) {
  int status = 0;
  pid_t got = 0;
  do {
    got = waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (got < 0 && errno == EINTR);
  if (got != pid_) return;
  exited_ = true;
  if (WIFEXITED(status)) exitStatus_ = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) signal_ = WTERMSIG(status);
}

Program& runToEnd(Program& program, const std::string& input) {
  program.send(input);
  program.closeInput();
  program.wait();
  return program;
}

}  // namespace hostile
