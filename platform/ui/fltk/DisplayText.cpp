#include "platform/ui/fltk/DisplayText.h"

#include "platform/Cp1252.h"

namespace ui::fltk {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

std::string toDisplay(std::string_view ansi) {
  if (std::optional<std::string> whole = platform::ansiToUtf8(ansi)) return *whole;
  std::string out;
  for (char c : ansi) {
    const std::optional<std::string> one = platform::ansiToUtf8(std::string_view(&c, 1));
    out += one ? std::string_view(*one) : kReplacement;
  }
  return out;
}

std::string toLabel(std::string_view ansi) {
  std::string out;
  for (char c : toDisplay(ansi)) {
    out += c;
    if (c == '@') out += '@';
  }
  return out;
}

std::optional<std::string> fromDisplay(std::string_view utf8) { return platform::utf8ToAnsi(utf8); }

}  // namespace ui::fltk
