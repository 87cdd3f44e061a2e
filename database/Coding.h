#pragma once
// Little-endian integers in byte buffers. The file format is little-endian throughout; all
// byte-order work of the engine goes through these.
#include <cstdint>
#include <cstring>

namespace paf {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "records are mapped straight onto file bytes; the host must be little-endian");

inline std::int32_t DecodeFixed32(const unsigned char* p) {
  std::int32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void EncodeFixed32(unsigned char* p, std::int32_t v) { std::memcpy(p, &v, sizeof v); }

inline std::int16_t DecodeFixed16(const unsigned char* p) {
  std::int16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void EncodeFixed16(unsigned char* p, std::int16_t v) { std::memcpy(p, &v, sizeof v); }

// Adds one the way the file's own counters wrap, without signed overflow in our code.
inline std::int32_t PlusOne(std::int32_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + 1u);
}

}  // namespace paf
