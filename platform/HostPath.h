#pragma once
// Host paths as the platform layer handles them inside: "/"-separated UTF-8. Used only within
// platform/; everything outside speaks Windows paths.
#include <string>
#include <string_view>

namespace platform {

// The process's current folder; empty when the system cannot tell it.
std::string currentHostFolder();

// An absolute path without empty or "." components and with ".." taken away by name (never
// above "/"), without a trailing "/" except for the root itself. A relative path is taken from
// the current folder; empty when that cannot be told.
std::string tidyHostPath(std::string_view path);

// folder + "/" + name, with exactly one "/" between them ("/" + "a" gives "/a").
std::string appendHostName(std::string_view folder, std::string_view name);

}  // namespace platform
