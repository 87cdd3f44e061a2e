#include "platform/HostPath.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

std::string currentHostFolder() {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(buffer.find('\0'));
      return buffer;
    }
    if (errno != ERANGE) return {};
    buffer.assign(buffer.size() * 2, '\0');
  }
}

std::string tidyHostPath(std::string_view path) {
  std::string absolute;
  if (path.empty() || path.front() != '/') {
    absolute = currentHostFolder();
    if (absolute.empty()) return {};
    absolute += '/';
  }
  absolute += path;

  std::vector<std::string_view> parts;
  std::string_view rest = absolute;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  if (parts.empty()) return "/";
  std::string tidy;
  for (std::string_view part : parts) {
    tidy += '/';
    tidy += part;
  }
  return tidy;
}

std::string appendHostName(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (joined.empty() || joined.back() != '/') joined += '/';
  joined += name;
  return joined;
}

}  // namespace platform
