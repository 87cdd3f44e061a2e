#include "tools/common/Console.h"

#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/Cp1252.h"

namespace tools {

std::string consoleText(std::string_view ansi) {
  if (std::optional<std::string> whole = platform::ansiToUtf8(ansi)) return std::move(*whole);
  std::string result;
  for (char c : ansi) {
    const std::optional<std::string> one = platform::ansiToUtf8(std::string_view(&c, 1));
    result += one ? *one : "?";
  }
  return result;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t moved = write(fd, bytes.data(), bytes.size());
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(moved));
  }
  return true;
}

}  // namespace tools
