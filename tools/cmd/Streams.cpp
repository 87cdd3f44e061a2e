#include "tools/cmd/Streams.h"

#include <unistd.h>

#include <string>

#include "tools/common/Console.h"

namespace tools::cmd {

void Stream::line(std::string_view ansi) const {
  std::string bytes;
  if (toFile_) {
    for (char c : ansi) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    bytes += "\r\n";
  } else {
    bytes = consoleText(ansi) + "\n";
  }
  writeAll(fd_, bytes);
}

LineStreams::LineStreams() : output(STDOUT_FILENO, false), errors(STDERR_FILENO, false) {}

LineStreams::~LineStreams() {
  for (int fd : opened) close(fd);
}

}  // namespace tools::cmd
