#pragma once
// A PAF file image as the fixture writer produced it: the bytes, kept sparse (a file with a
// second segment is more than 64 MiB, almost all of it holes), and where each record and text
// landed, so that tests can read it, damage it precisely and write it to disk.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

// Identifies a text added to a PafBuilder; 0 = no text.
using TextId = int;
constexpr TextId kNoText = 0;

// A data page: page `page` (1..8191) of segment `segment` (0..30).
struct PagePlace {
  int segment = 0;
  int page = 0;
  bool operator==(const PagePlace&) const = default;
};

class PafImage {
 public:
  // Logical size of the file in bytes; holes read as zeros.
  std::int64_t size() const { return size_; }

  // `count` bytes from `offset`, fewer when the image ends first.
  std::string read(std::int64_t offset, std::int64_t count) const;
  std::int32_t readInt32(std::int64_t offset) const;
  std::int16_t readInt16(std::int64_t offset) const;
  std::uint8_t readByte(std::int64_t offset) const;

  // Overwrites bytes; a patch past the end makes the image longer (zeros in between).
  void patch(std::int64_t offset, std::string_view bytes);
  void patchInt32(std::int64_t offset, std::int32_t value);
  void patchInt16(std::int64_t offset, std::int16_t value);
  void patchByte(std::int64_t offset, std::uint8_t value);
  // Cuts the image at `size` bytes (or lengthens it with zeros).
  void truncate(std::int64_t size);

  // The whole image. REQUIRES: size() fits in memory (an image with several segments is
  // 64 MiB each; prefer read() or writeTo()).
  std::string bytes() const;
  // Writes the image to a host file, replacing it, its folders created as needed: holes stay
  // holes (seek, never zeros).
  // Throws std::runtime_error when the file cannot be written.
  void writeTo(const std::filesystem::path& hostPath) const;

  // File offset of slot `number` (1-based) of a record type (2, 3, 6, 7, 20), counting every
  // slot of the type's pages; 0 when the number has no slot.
  std::int64_t recordOffset(int type, int number) const;
  // File offset of a text record; 0 for kNoText or an unknown id.
  std::int64_t textOffset(TextId id) const;
  // Pages of a type in record order (ascending segment, then page).
  std::vector<PagePlace> pagesOf(int type) const;

 private:
  friend class PafBuilder;
  static constexpr std::int64_t kBlockSize = 4096;

  void writeBytes(std::int64_t offset, std::string_view bytes);

  std::map<std::int64_t, std::string> blocks_;  // block index -> kBlockSize bytes
  std::int64_t size_ = 0;
  std::map<int, std::vector<PagePlace>> pages_;  // page type -> pages in record order
  std::vector<std::int64_t> textOffsets_;    // by TextId - 1
};

}  // namespace corvane::testing
