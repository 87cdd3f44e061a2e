#include "platform/Registry.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/Cp1252.h"
#include "platform/WinPath.h"

namespace platform {
namespace {

constexpr char kUserHiveFile[] = "user.reg";

// Text between delimiters, decoded as Wine reads it back; UTF-8 with NULs kept.
struct Decoded {
  std::string utf8;
  bool representable = true;  // false once a UTF-16 unit had no character of its own
};

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

unsigned hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return static_cast<unsigned>(c - 'A' + 10);
}

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }

void appendUnit(Decoded& out, unsigned unit) {
  if (unit >= 0xD800 && unit <= 0xDFFF) {
    // Half of a pair: a character beyond the 16-bit range, which code page 1252 never has.
    out.representable = false;
  } else if (unit < 0x80) {
    out.utf8 += static_cast<char>(unit);
  } else if (unit < 0x800) {
    out.utf8 += static_cast<char>(0xC0 | (unit >> 6));
    out.utf8 += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    out.utf8 += static_cast<char>(0xE0 | (unit >> 12));
    out.utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    out.utf8 += static_cast<char>(0x80 | (unit & 0x3F));
  }
}

// Decodes from line[pos] up to the first unescaped `end`; pos is left just after it. nullopt
// when the line ends first.
std::optional<Decoded> decodeEscaped(std::string_view line, std::size_t& pos, char end) {
  Decoded out;
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == end) return out;
    if (c != '\\') {
      out.utf8 += c;
      continue;
    }
    if (pos >= line.size()) return std::nullopt;
    const char e = line[pos++];
    switch (e) {
      case 'a': out.utf8 += '\a'; break;
      case 'b': out.utf8 += '\b'; break;
      case 'e': out.utf8 += '\x1b'; break;
      case 'f': out.utf8 += '\f'; break;
      case 'n': out.utf8 += '\n'; break;
      case 'r': out.utf8 += '\r'; break;
      case 't': out.utf8 += '\t'; break;
      case 'v': out.utf8 += '\v'; break;
      case 'x': {
        if (pos >= line.size() || !isHexDigit(line[pos])) {
          out.utf8 += 'x';
          break;
        }
        unsigned unit = 0;
        for (int digits = 0; digits < 4 && pos < line.size() && isHexDigit(line[pos]); ++digits) {
          unit = unit * 16 + hexValue(line[pos++]);
        }
        appendUnit(out, unit);
        break;
      }
      default:
        if (isOctalDigit(e)) {
          unsigned unit = static_cast<unsigned>(e - '0');
          for (int digits = 1; digits < 3 && pos < line.size() && isOctalDigit(line[pos]); ++digits) {
            unit = unit * 8 + static_cast<unsigned>(line[pos++] - '0');
          }
          appendUnit(out, unit);
        } else {
          out.utf8 += e;  // \\, \" and any other character stand for themselves
        }
        break;
    }
  }
  return std::nullopt;
}

// Code page 1252 form of decoded text; nullopt when it has a character 1252 has not.
std::optional<std::string> toAnsi(const Decoded& decoded) {
  if (!decoded.representable) return std::nullopt;
  return utf8ToAnsi(decoded.utf8);
}

std::string_view withoutOuterBackslashes(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return path;
}

}  // namespace

std::optional<RegistryKey> RegistryKey::openCurrentUser(std::string_view keyPath) {
  const std::string prefix = winePrefixFolder();
  if (prefix.empty()) return std::nullopt;
  std::ifstream in(prefix + "/" + kUserHiveFile, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return find(text.str(), keyPath);
}

std::optional<RegistryKey> RegistryKey::find(std::string_view hiveText, std::string_view keyPath) {
  const std::string_view wanted = withoutOuterBackslashes(keyPath);
  std::optional<RegistryKey> key;
  std::size_t start = 0;
  while (start < hiveText.size()) {
    std::size_t end = hiveText.find('\n', start);
    if (end == std::string_view::npos) end = hiveText.size();
    std::string_view line = hiveText.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;

    if (line.front() == '[') {
      if (key) break;  // the next key: ours has ended
      std::size_t pos = 1;
      const std::optional<Decoded> name = decodeEscaped(line, pos, ']');
      if (!name) continue;
      const std::optional<std::string> ansi = toAnsi(*name);
      if (ansi && ansiEqualsIgnoreCase(withoutOuterBackslashes(*ansi), wanted)) key.emplace();
      continue;
    }
    if (!key || (line.front() != '"' && line.front() != '@')) continue;  // comments, hex continuations

    Value value;
    std::size_t pos = 1;
    if (line.front() == '"') {
      const std::optional<Decoded> name = decodeEscaped(line, pos, '"');
      if (!name) continue;
      const std::optional<std::string> ansi = toAnsi(*name);
      if (!ansi) continue;  // a name this system cannot spell cannot be asked for
      value.name = *ansi;
    }
    if (pos >= line.size() || line[pos] != '=') continue;
    std::string_view data = line.substr(pos + 1);
    constexpr std::string_view kExpandable = "str(2):";
    if (data.starts_with(kExpandable)) data.remove_prefix(kExpandable.size());
    if (data.starts_with('"')) {
      std::size_t at = 1;
      if (const std::optional<Decoded> text = decodeEscaped(data, at, '"')) {
        Decoded upToNul = *text;
        upToNul.utf8 = upToNul.utf8.substr(0, upToNul.utf8.find('\0'));
        value.text = toAnsi(upToNul);
      }
    }
    key->values_.push_back(std::move(value));
  }
  return key;
}

const RegistryKey::Value* RegistryKey::value(std::string_view name) const {
  for (const Value& v : values_) {
    if (ansiEqualsIgnoreCase(v.name, name)) return &v;
  }
  return nullptr;
}

bool RegistryKey::hasValue(std::string_view name) const { return value(name) != nullptr; }

std::optional<std::string> RegistryKey::readText(std::string_view name) const {
  const Value* v = value(name);
  if (v == nullptr) return std::nullopt;
  return v->text;
}

}  // namespace platform
