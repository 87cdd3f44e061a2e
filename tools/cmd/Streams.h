#pragma once
// Where one line's command reads and writes: the console, or the files its redirections name.
#include <string_view>
#include <vector>

namespace tools::cmd {

class Stream {
 public:
  Stream(int fd, bool toFile) : fd_(fd), toFile_(toFile) {}
  int fd() const { return fd_; }
  // Writes a 1252 text and a line end: to a file as Windows text (the bytes, each "\n" and the
  // end as CR LF), to the console as host text (UTF-8, "\n").
  void line(std::string_view ansi) const;

 private:
  int fd_;
  bool toFile_;
};

struct LineStreams {
  LineStreams();
  ~LineStreams();  // closes what the redirections opened
  LineStreams(const LineStreams&) = delete;
  LineStreams& operator=(const LineStreams&) = delete;

  int input = -1;  // -1: ours
  Stream output;
  Stream errors;
  std::vector<int> opened;
};

}  // namespace tools::cmd
