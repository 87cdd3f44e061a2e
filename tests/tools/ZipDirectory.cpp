#include "tests/tools/ZipDirectory.h"

#include <stdexcept>
#include <string_view>

#include "tests/support/LittleEndian.h"
#include "tests/tools/ToolRun.h"

namespace corvane::testing {
namespace {

// End of central directory record, the last thing in the archive but its comment:
//   offset  size  meaning
//   0       4     signature "PK\5\6"
//   10      2     total number of entries
//   12      4     size of the central directory
//   16      4     offset of the central directory
//   20      2     comment length, then the comment
constexpr std::string_view kEndSignature{"PK\5\6", 4};
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kLongestComment = 0xFFFF;
constexpr std::size_t kEndEntryCount = 10;
constexpr std::size_t kEndDirectoryOffset = 16;

// Central directory entry:
//   0   4  signature "PK\1\2"     8   2  general purpose flags
//   28  2  name length            30  2  extra field length     32  2  comment length
//   42  4  offset of the local header
//   46  .  name, extra field, comment
constexpr std::string_view kEntrySignature{"PK\1\2", 4};
constexpr std::size_t kEntryFlags = 8;
constexpr std::size_t kEntryNameLength = 28;
constexpr std::size_t kEntryExtraLength = 30;
constexpr std::size_t kEntryCommentLength = 32;
constexpr std::size_t kEntryLocalOffset = 42;
constexpr std::size_t kEntryFixedSize = 46;

constexpr std::string_view kLocalSignature{"PK\3\4", 4};

std::uint16_t u16(const std::string& bytes, std::size_t at) {
  if (at + 2 > bytes.size()) throw std::runtime_error("zip directory runs past the file");
  return static_cast<std::uint16_t>(decodeFixed16(bytes.data() + at));
}

std::uint32_t u32(const std::string& bytes, std::size_t at) {
  if (at + 4 > bytes.size()) throw std::runtime_error("zip directory runs past the file");
  return static_cast<std::uint32_t>(decodeFixed32(bytes.data() + at));
}

}  // namespace

std::vector<ZipEntryInfo> readCentralDirectory(const std::filesystem::path& archive) {
  const std::string bytes = readBytes(archive);
  if (bytes.size() < kEndSize) throw std::runtime_error("too short for a zip archive");
  const std::size_t lowest = bytes.size() > kEndSize + kLongestComment ? bytes.size() - kEndSize - kLongestComment : 0;
  std::size_t end = bytes.size() - kEndSize;
  while (std::string_view(bytes).substr(end, kEndSignature.size()) != kEndSignature) {
    if (end == lowest) throw std::runtime_error("no end of central directory");
    --end;
  }

  std::vector<ZipEntryInfo> entries;
  std::size_t at = u32(bytes, end + kEndDirectoryOffset);
  const std::uint16_t count = u16(bytes, end + kEndEntryCount);
  for (std::uint16_t i = 0; i < count; ++i) {
    if (std::string_view(bytes).substr(at, kEntrySignature.size()) != kEntrySignature) {
      throw std::runtime_error("no central directory entry where one should be");
    }
    const std::size_t nameLength = u16(bytes, at + kEntryNameLength);
    if (at + kEntryFixedSize + nameLength > bytes.size()) throw std::runtime_error("entry name runs past the file");
    ZipEntryInfo entry;
    entry.name = bytes.substr(at + kEntryFixedSize, nameLength);
    entry.flags = u16(bytes, at + kEntryFlags);
    const std::uint32_t local = u32(bytes, at + kEntryLocalOffset);
    entry.localHeaderWhereRecorded = local < bytes.size() && std::string_view(bytes).substr(local, kLocalSignature.size()) == kLocalSignature;
    entries.push_back(std::move(entry));
    at += kEntryFixedSize + nameLength + u16(bytes, at + kEntryExtraLength) + u16(bytes, at + kEntryCommentLength);
  }
  return entries;
}

}  // namespace corvane::testing
