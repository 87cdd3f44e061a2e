#pragma once
// Layout constants of a PAF 5 database file.
//
//   file offset            size     content
//   0                      1685     header (PAFHeader)
//   1685                   2411     not interpreted
//   4096                   8192     page-count table: 4096 signed 16-bit entries, entry
//                                   s * 32 + (t - 1) = pages of type t in segment s
//   12288 + s * 2^26       2^26     segment s (s = 0..30): 8192 pages of 8192 bytes; page 0 is
//                                   the segment's map, one type byte per page
//
// Page p of segment s starts at s * 2^26 + p * 8192 + 12288. Every offset is a signed 32-bit
// value, which is why a 32nd segment (s = 31) is out of reach.
#include <cstdint>

namespace paf {

constexpr int kPageSize = 8192;
constexpr int kPagesPerSegment = 8192;
constexpr std::int64_t kSegmentSize = std::int64_t{kPagesPerSegment} * kPageSize;  // 2^26
constexpr int kHeaderSize = 1685;
constexpr int kPageCountTableOffset = 4096;
constexpr int kPageCountEntries = 4096;
constexpr int kPageCountTableSize = kPageCountEntries * 2;
constexpr int kFirstSegmentOffset = kPageCountTableOffset + kPageCountTableSize;  // 12288
constexpr int kMaxSegments = 31;
constexpr int kTypesPerSegment = 32;  // page types 1..32; table entries per segment
constexpr int kMinPageType = 1;
constexpr int kMaxPageType = 32;

// Page types the engine reads.
constexpr int kTextPage = 1;
constexpr int kIndividualPage = 2;
constexpr int kMarriagePage = 3;
constexpr int kCitationPage = 6;
constexpr int kSourcePage = 7;
constexpr int kSegmentMapPage = 11;
constexpr int kMediaLinkPage = 20;

// Header bytes that WriteHeaderCounters writes: offsets 14 through 729.
constexpr int kHeaderCountersOffset = 14;
constexpr int kHeaderCountersSize = 729 - kHeaderCountersOffset + 1;  // 716

// The segment index: 32 group starts, then the page numbers of the segment grouped by type.
constexpr int kIndexGroupStarts = kTypesPerSegment;
constexpr int kSegmentIndexEntries = kIndexGroupStarts + kPagesPerSegment;  // 8224

// Header offset of the whole-file page count of a type; 0 when the header keeps none.
constexpr int HeaderPageCountOffset(int type) {
  switch (type) {
    case 1: return 94;
    case 2: return 26;
    case 3: return 134;
    case 4: return 154;
    case 5: return 234;
    case 6: return 174;
    case 7: return 194;
    case 8: return 214;
    case 9: return 66;
    case 10: return 46;
    case 11: return 18;
    case 12: return 294;
    case 13: return 254;
    case 17: return 314;
    case 18: return 114;
    case 20: return 274;
    default: return 0;
  }
}

constexpr std::int64_t PageOffset(int segment, int page) {
  return std::int64_t{segment} * kSegmentSize + std::int64_t{page} * kPageSize + kFirstSegmentOffset;
}

constexpr int PageCountIndex(int segment, int type) { return segment * kTypesPerSegment + (type - 1); }

}  // namespace paf
