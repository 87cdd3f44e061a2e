#pragma once
// The PAF 5 database file as the fixture writer lays it out. All integers little-endian.
//
//   file offset        size      content
//   0                  1685      header
//   1685               2411      not interpreted (written as zeros)
//   4096               8192      page-count table: 4096 int16, entry s * 32 + (t - 1) = pages of
//                                type t in segment s
//   12288 + s * 2^26   2^26      segment s (0..30): 8192 pages of 8192 bytes
//
// Page p of segment s starts at 12288 + s * 2^26 + p * 8192. Page 0 of a segment is its map:
// byte 0 is 11 (the map's own type), byte p the type of page p (1..32), 0 for a page not in use;
// 33..255 mark a page that readers ignore.
//
// Header fields (offset, width 4 unless noted):
//   0  versionStamp          8  signature "PAF\0"        14  pagesUsedInLastSegment (map incl.)
//   18 segmentCount (= page count of type 11)             90  textRecordCount
//   98 lowKindTreeRoot (texts of kind < 4)                102 textAppendOffset
//   106 textAppendEnd (just past the current text page)   118 highKindTreeRoot (kind >= 4)
//   270 mediaLinkCount (highest link record number)
//   page counts of the whole file: see headerPageCountOffset().
//
// Fixed-size records are packed from the start of each page of their type, 8192 / size per
// page, numbered from 1 across the type's pages in ascending page number, segment after
// segment. Text records (type-1 pages) are 14 + n bytes and never cross a page end:
//   0 left   4 right   8 parent (file offsets, 0 = none)   12 kind (int8)   13 text, n bytes + 0
#include <cstdint>

namespace corvane::testing::paf {

constexpr int kPageSize = 8192;
constexpr int kPagesPerSegment = 8192;
constexpr std::int64_t kSegmentSize = std::int64_t{kPagesPerSegment} * kPageSize;  // 2^26
constexpr int kMaxSegments = 31;
constexpr int kTypeCount = 32;  // page types 1..32

constexpr int kHeaderSize = 1685;
constexpr int kPageCountTableOffset = 4096;
constexpr int kPageCountTableEntries = 4096;
constexpr int kPageCountTableSize = kPageCountTableEntries * 2;
constexpr int kFirstSegmentOffset = kPageCountTableOffset + kPageCountTableSize;  // 12288

// Page types.
constexpr int kTextPage = 1;
constexpr int kIndividualPage = 2;
constexpr int kMarriagePage = 3;
constexpr int kCitationPage = 6;
constexpr int kSourcePage = 7;
constexpr int kMapPage = 11;
constexpr int kMediaLinkPage = 20;

// Header field offsets.
constexpr int kVersionStampOffset = 0;
constexpr int kSignatureOffset = 8;
constexpr int kPagesUsedInLastSegmentOffset = 14;
constexpr int kSegmentCountOffset = 18;
constexpr int kTextRecordCountOffset = 90;
constexpr int kLowKindTreeRootOffset = 98;
constexpr int kTextAppendOffsetOffset = 102;
constexpr int kTextAppendEndOffset = 106;
constexpr int kHighKindTreeRootOffset = 118;
constexpr int kMediaLinkCountOffset = 270;

// Header offset of the whole-file page count of a type; 0 for a type the header does not count.
constexpr int headerPageCountOffset(int type) {
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
    case 11: return kSegmentCountOffset;
    case 12: return 294;
    case 13: return 254;
    case 17: return 314;
    case 18: return 114;
    case 20: return 274;
    default: return 0;
  }
}

// Record sizes; records per page is kPageSize / size.
constexpr int kIndividualSize = 221;
constexpr int kMarriageSize = 106;
constexpr int kCitationSize = 145;
constexpr int kSourceSize = 507;
constexpr int kMediaLinkSize = 62;

// Size of the records of a page type; 0 for a type without fixed-size records here.
constexpr int recordSize(int type) {
  switch (type) {
    case kIndividualPage: return kIndividualSize;
    case kMarriagePage: return kMarriageSize;
    case kCitationPage: return kCitationSize;
    case kSourcePage: return kSourceSize;
    case kMediaLinkPage: return kMediaLinkSize;
    default: return 0;
  }
}
constexpr int recordsPerPage(int type) {
  return recordSize(type) == 0 ? 0 : kPageSize / recordSize(type);
}

// Field offsets inside records.
constexpr int kMarriageHusband = 4;
constexpr int kMarriageWife = 8;
constexpr int kCitationOwnerNumber = 128;
constexpr int kCitationOwnerEvent = 132;
constexpr int kSourceAuthor = 0;
constexpr int kSourceAuthorSize = 124;
constexpr int kSourceTitle = 124;
constexpr int kSourceTitleSize = kSourceSize - kSourceTitle;  // 383
constexpr int kLinkOwnerNumber = 0;
constexpr int kLinkPathText = 12;
constexpr int kLinkSecondPathText = 24;
constexpr int kLinkOwnerType = 29;

// Text records.
constexpr int kTextLeft = 0;
constexpr int kTextRight = 4;
constexpr int kTextParent = 8;
constexpr int kTextKind = 12;
constexpr int kTextBytes = 13;
constexpr int kTextOverhead = kTextBytes + 1;  // fixed part and the terminating zero
constexpr int kMaxTextLength = 255;
constexpr int kFirstHighKind = 4;  // kinds below go to the low-kind tree

// Link owner types.
constexpr int kOwnerIndividual = 100;
constexpr int kOwnerMarriage = 102;
constexpr int kOwnerSource = 129;
constexpr int kOwnerUnread = 131;
constexpr int kOwnerCitation = 132;

constexpr std::int64_t segmentOffset(int segment) {
  return kFirstSegmentOffset + segment * kSegmentSize;
}
constexpr std::int64_t pageOffset(int segment, int page) {
  return segmentOffset(segment) + std::int64_t{page} * kPageSize;
}
// Map byte that holds the type of page `page` of `segment`.
constexpr std::int64_t mapByteOffset(int segment, int page) {
  return segmentOffset(segment) + page;
}
constexpr std::int64_t pageCountOffset(int segment, int type) {
  return kPageCountTableOffset + 2 * (segment * kTypeCount + (type - 1));
}

}  // namespace corvane::testing::paf
