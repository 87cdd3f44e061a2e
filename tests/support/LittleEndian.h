#pragma once
// Little-endian integers in byte buffers: every byte-order detail of the PAF fixture writer
// lives here. Byte by byte, so the result does not depend on the host's byte order.
#include <cstdint>
#include <string>

namespace corvane::testing {

// REQUIRES: dst has room for 2 (4) bytes.
inline void encodeFixed16(char* dst, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  dst[0] = static_cast<char>(bits & 0xFFu);
  dst[1] = static_cast<char>((bits >> 8) & 0xFFu);
}

inline void encodeFixed32(char* dst, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    dst[i] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
  }
}

inline std::int16_t decodeFixed16(const char* src) {
  const auto bits = static_cast<std::uint16_t>(static_cast<unsigned char>(src[0]) |
                                               (static_cast<unsigned char>(src[1]) << 8));
  return static_cast<std::int16_t>(bits);
}

inline std::int32_t decodeFixed32(const char* src) {
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) {
    bits = (bits << 8) | static_cast<unsigned char>(src[i]);
  }
  return static_cast<std::int32_t>(bits);
}

inline std::string fixed16(std::int16_t value) {
  std::string bytes(2, '\0');
  encodeFixed16(bytes.data(), value);
  return bytes;
}

inline std::string fixed32(std::int32_t value) {
  std::string bytes(4, '\0');
  encodeFixed32(bytes.data(), value);
  return bytes;
}

}  // namespace corvane::testing
