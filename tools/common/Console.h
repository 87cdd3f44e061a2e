#pragma once
// Text on the console of the outside programs. The system's own texts (batch lines, Windows
// names) are code page 1252; the host's terminal reads UTF-8.
#include <string>
#include <string_view>

namespace tools {

// The UTF-8 form of a 1252 text for the terminal; a byte 1252 leaves undefined shows as "?".
std::string consoleText(std::string_view ansi);

// Writes all the bytes to the descriptor, going on after interruptions; false when the system
// refused some (a closed pipe, a full disk).
bool writeAll(int fd, std::string_view bytes);

}  // namespace tools
