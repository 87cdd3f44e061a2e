#include "tests/support/PafImage.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "tests/support/LittleEndian.h"
#include "tests/support/PafFormat.h"

namespace corvane::testing {

std::string PafImage::read(std::int64_t offset, std::int64_t count) const {
  if (offset < 0 || count <= 0 || offset >= size_) return {};
  count = std::min(count, size_ - offset);
  std::string out(static_cast<std::size_t>(count), '\0');
  for (std::int64_t done = 0; done < count;) {
    const std::int64_t at = offset + done;
    const std::int64_t within = at % kBlockSize;
    const std::int64_t n = std::min(count - done, kBlockSize - within);
    const auto block = blocks_.find(at / kBlockSize);
    if (block != blocks_.end()) {
      std::copy_n(block->second.data() + within, n, out.data() + done);
    }
    done += n;
  }
  return out;
}

std::int32_t PafImage::readInt32(std::int64_t offset) const {
  std::string bytes = read(offset, 4);
  bytes.resize(4, '\0');
  return decodeFixed32(bytes.data());
}

std::int16_t PafImage::readInt16(std::int64_t offset) const {
  std::string bytes = read(offset, 2);
  bytes.resize(2, '\0');
  return decodeFixed16(bytes.data());
}

std::uint8_t PafImage::readByte(std::int64_t offset) const {
  const std::string bytes = read(offset, 1);
  return bytes.empty() ? 0 : static_cast<std::uint8_t>(bytes[0]);
}

void PafImage::writeBytes(std::int64_t offset, std::string_view bytes) {
  if (offset < 0) throw std::invalid_argument("PafImage: negative offset");
  const auto count = static_cast<std::int64_t>(bytes.size());
  for (std::int64_t done = 0; done < count;) {
    const std::int64_t at = offset + done;
    const std::int64_t within = at % kBlockSize;
    const std::int64_t n = std::min(count - done, kBlockSize - within);
    std::string& block = blocks_[at / kBlockSize];
    if (block.empty()) block.assign(static_cast<std::size_t>(kBlockSize), '\0');
    std::copy_n(bytes.data() + done, n, block.data() + within);
    done += n;
  }
  size_ = std::max(size_, offset + count);
}

void PafImage::patch(std::int64_t offset, std::string_view bytes) { writeBytes(offset, bytes); }

void PafImage::patchInt32(std::int64_t offset, std::int32_t value) {
  writeBytes(offset, fixed32(value));
}

void PafImage::patchInt16(std::int64_t offset, std::int16_t value) {
  writeBytes(offset, fixed16(value));
}

void PafImage::patchByte(std::int64_t offset, std::uint8_t value) {
  writeBytes(offset, std::string(1, static_cast<char>(value)));
}

void PafImage::truncate(std::int64_t size) {
  if (size < 0) throw std::invalid_argument("PafImage: negative size");
  // Bytes past the cut are gone: a later lengthening must read them as zeros.
  blocks_.erase(blocks_.lower_bound((size + kBlockSize - 1) / kBlockSize), blocks_.end());
  if (size % kBlockSize != 0) {
    const auto last = blocks_.find(size / kBlockSize);
    if (last != blocks_.end()) {
      std::fill(last->second.begin() + static_cast<std::ptrdiff_t>(size % kBlockSize),
                last->second.end(), '\0');
    }
  }
  size_ = size;
}

std::string PafImage::bytes() const { return read(0, size_); }

void PafImage::writeTo(const std::filesystem::path& hostPath) const {
  if (hostPath.has_parent_path()) std::filesystem::create_directories(hostPath.parent_path());
  {
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("PafImage: cannot create " + hostPath.string());
    for (const auto& [index, block] : blocks_) {
      const std::int64_t at = index * kBlockSize;
      if (at >= size_) break;
      if (std::all_of(block.begin(), block.end(), [](char c) { return c == '\0'; })) continue;
      const std::int64_t n = std::min(kBlockSize, size_ - at);
      out.seekp(static_cast<std::streamoff>(at));
      out.write(block.data(), static_cast<std::streamsize>(n));
    }
    out.flush();
    if (!out) throw std::runtime_error("PafImage: cannot write " + hostPath.string());
  }
  // Sets the length; a tail that was never written becomes a hole.
  std::filesystem::resize_file(hostPath, static_cast<std::uintmax_t>(size_));
}

std::int64_t PafImage::recordOffset(int type, int number) const {
  const int perPage = paf::recordsPerPage(type);
  const auto pages = pages_.find(type);
  if (perPage == 0 || number < 1 || pages == pages_.end()) return 0;
  const auto pageIndex = static_cast<std::size_t>((number - 1) / perPage);
  if (pageIndex >= pages->second.size()) return 0;
  const PagePlace place = pages->second[pageIndex];
  return paf::pageOffset(place.segment, place.page) +
         std::int64_t{(number - 1) % perPage} * paf::recordSize(type);
}

std::int64_t PafImage::textOffset(TextId id) const {
  if (id < 1 || static_cast<std::size_t>(id) > textOffsets_.size()) return 0;
  return textOffsets_[static_cast<std::size_t>(id) - 1];
}

std::vector<PagePlace> PafImage::pagesOf(int type) const {
  const auto pages = pages_.find(type);
  return pages == pages_.end() ? std::vector<PagePlace>{} : pages->second;
}

}  // namespace corvane::testing
