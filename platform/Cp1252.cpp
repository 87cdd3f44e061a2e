#include "platform/Cp1252.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace platform {
namespace {

constexpr const char* kAnsiCodePage = "CP1252";
constexpr const char* kHostCharset = "UTF-8";

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// One iconv conversion descriptor per direction and thread: opening one costs far more than
// converting a file name, and a descriptor must not be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // nullopt on any byte the source cannot hold or the target cannot take; never substitutes.
  std::optional<std::string> convert(std::string_view in) {
    if (!valid()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    // A 1252 byte takes at most 3 UTF-8 bytes; a UTF-8 sequence never gives more than one byte.
    std::string out(in.size() * 3 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());  // iconv's signature; it does not write there
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }
  iconv_t cd_;
};

Converter& toUtf8() {
  thread_local Converter converter(kHostCharset, kAnsiCodePage);
  return converter;
}

Converter& toAnsi() {
  thread_local Converter converter(kAnsiCodePage, kHostCharset);
  return converter;
}

// Decodes the one character of a short UTF-8 text (1252 characters all lie in the BMP).
char16_t decodeSingleUtf8(const std::string& utf8) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(utf8[i])); };
  if (utf8.size() == 1) return static_cast<char16_t>(byte(0));
  if (utf8.size() == 2) return static_cast<char16_t>(((byte(0) & 0x1Fu) << 6) | (byte(1) & 0x3Fu));
  return static_cast<char16_t>(((byte(0) & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu));
}

// The 16-bit unit of every 1252 byte, taken once from iconv so that the table and the UTF-8
// conversions cannot disagree.
struct WideTables {
  std::array<char16_t, 256> wide{};
  WideTables() {
    for (unsigned b = 0; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      std::optional<std::string> utf8 = ansiToUtf8(one);
      wide[b] = utf8 ? decodeSingleUtf8(*utf8) : static_cast<char16_t>(b);
    }
  }
};

const WideTables& wideTables() {
  static const WideTables tables;
  return tables;
}

unsigned char ansiToUpper(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 0x20);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<unsigned char>(byte - 0x20);
  switch (byte) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return byte;
  }
}

}  // namespace

std::optional<std::string> ansiToUtf8(std::string_view ansi) {
  if (isAscii(ansi)) return std::string(ansi);
  return toUtf8().convert(ansi);
}

std::optional<std::string> utf8ToAnsi(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  return toAnsi().convert(utf8);
}

char16_t ansiToWide(unsigned char byte) { return wideTables().wide[byte]; }

std::optional<unsigned char> wideToAnsi(char16_t unit) {
  const auto& wide = wideTables().wide;
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<unsigned char>(unit);
  for (unsigned b = 0x80; b < 0xA0; ++b)
    if (wide[b] == unit) return static_cast<unsigned char>(b);
  return std::nullopt;
}

unsigned char ansiToLower(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 0x20);
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 0x20);
  switch (byte) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return byte;
  }
}

std::string ansiToLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(ansiToLower(static_cast<unsigned char>(c)));
  return lower;
}

bool ansiEqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ansiToUpper(static_cast<unsigned char>(a[i])) != ansiToUpper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

int ansiCompareIgnoreCase(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const int x = ansiToUpper(static_cast<unsigned char>(a[i]));
    const int y = ansiToUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::u16string ansiToWideText(std::string_view ansi) {
  std::u16string wide;
  wide.reserve(ansi.size());
  for (const char c : ansi) wide.push_back(ansiToWide(static_cast<unsigned char>(c)));
  return wide;
}

std::optional<std::string> wideToAnsiText(std::u16string_view wide) {
  std::string ansi;
  ansi.reserve(wide.size());
  for (const char16_t unit : wide) {
    const std::optional<unsigned char> byte = wideToAnsi(unit);
    if (!byte) return std::nullopt;
    ansi.push_back(static_cast<char>(*byte));
  }
  return ansi;
}

}  // namespace platform
