#pragma once
// Reads a zip archive's central directory straight from the bytes, so the tests see what the
// archive really stores (entry names as bytes, the UTF-8 flag, where each entry's local header
// lies) without trusting a zip tool's view of it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corvane::testing {

// General purpose flag bit 11: the entry's name is UTF-8.
constexpr std::uint16_t kUtf8NameFlag = 1u << 11;

struct ZipEntryInfo {
  std::string name;  // the stored bytes
  std::uint16_t flags = 0;
  // The central directory's offset of the local header, counted from the file's start, finds
  // one there. Not so in a stub + archive concatenation whose offsets were left as they were.
  bool localHeaderWhereRecorded = false;
};

// The entries in directory order. Throws std::runtime_error when the end record or a
// directory entry is missing or runs past the file.
std::vector<ZipEntryInfo> readCentralDirectory(const std::filesystem::path& archive);

}  // namespace corvane::testing
