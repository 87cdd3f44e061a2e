#include "platform/ui/fltk/FileFilter.h"

#include <vector>

#include "platform/ui/fltk/DisplayText.h"

namespace ui::fltk {
namespace {

constexpr char kFilterSeparator = '|';
constexpr char kPatternSeparator = ';';

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::string_view::size_type start = 0;
  for (;;) {
    const std::string_view::size_type end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A pattern of a dialog filter, for FLTK's matcher.
std::string fltkPattern(std::string_view pattern) {
  std::string out;
  for (char c : toDisplay(pattern)) {
    switch (c) {
      case '[': case ']': case '{': case '}': case ',': case '\\':
        out += '\\';
        break;
      default:
        break;
    }
    out += c;
  }
  return out;
}

// The description as one line of FLTK's filter text, which uses tabs and line breaks itself.
std::string fltkDescription(std::string_view description) {
  std::string out = toDisplay(description);
  for (char& c : out) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return out;
}

}  // namespace

std::string toFltkFilter(std::string_view filter) {
  if (filter.empty()) return {};
  const std::vector<std::string_view> parts = split(filter, kFilterSeparator);
  std::string out;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::vector<std::string> patterns;
    for (std::string_view p : split(parts[i + 1], kPatternSeparator)) {
      if (!trimmed(p).empty()) patterns.push_back(fltkPattern(trimmed(p)));
    }
    std::string pattern;
    if (patterns.size() == 1) {
      pattern = patterns.front();
    } else if (patterns.empty()) {
      pattern = "*";
    } else {
      pattern = "{";
      for (std::size_t k = 0; k < patterns.size(); ++k) pattern += (k == 0 ? "" : ",") + patterns[k];
      pattern += "}";
    }
    if (!out.empty()) out += '\n';
    out += fltkDescription(parts[i]) + '\t' + pattern;
  }
  return out;
}

int filterCount(std::string_view filter) {
  if (filter.empty()) return 0;
  return static_cast<int>(split(filter, kFilterSeparator).size() / 2);
}

std::string defaultExtension(std::string_view defaultExt) {
  const std::string_view::size_type dot = defaultExt.rfind('.');
  std::string_view ext = dot == std::string_view::npos ? defaultExt : defaultExt.substr(dot + 1);
  if (ext.find_first_of("*?") != std::string_view::npos) return {};
  return std::string(ext);
}

WindowsPathParts splitWindowsPath(std::string_view path) {
  const std::string_view::size_type last = path.find_last_of("\\/:");
  if (last == std::string_view::npos) return {{}, std::string(path)};
  return {std::string(path.substr(0, last + 1)), std::string(path.substr(last + 1))};
}

}  // namespace ui::fltk
