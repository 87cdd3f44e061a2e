// Fixed-size records by number.
//
// Records of one page type are packed from the start of each page of that type, perPage =
// 8192 / size to a page. Numbers are 1-based and run through the type's pages of segment 0 in
// ascending page number, then those of segment 1, and so on; segment s holds
// pageCounts[s * 32 + t - 1] * perPage numbers.
#include <algorithm>
#include <cstring>
#include <limits>

#include "database/PAFDatabase.h"

using namespace paf;

namespace {

struct RecordKind {
  int type;
  int size;
  int perPage;
};

constexpr RecordKind Kind(int type, int size) { return RecordKind{type, size, kPageSize / size}; }

constexpr RecordKind kIndividual = Kind(kIndividualPage, sizeof(IndividualRecord));  // 37 a page
constexpr RecordKind kMarriage = Kind(kMarriagePage, sizeof(MarriageRecord));        // 77 a page
constexpr RecordKind kCitation = Kind(kCitationPage, sizeof(CitationRecord));        // 56 a page
constexpr RecordKind kSource = Kind(kSourcePage, sizeof(SourceRecord));              // 16 a page
constexpr RecordKind kMediaLink = Kind(kMediaLinkPage, sizeof(MediaLinkRecord));     // 132 a page

static_assert(kIndividual.perPage == 37 && kMarriage.perPage == 77 && kCitation.perPage == 56 &&
              kSource.perPage == 16 && kMediaLink.perPage == 132);

}  // namespace

// Segment of record `number`, and the records of the type in the segments before it. A
// negative count in the table (a damaged file) counts as no pages.
int CPAFDatabase::FindSegment(int number, int type, int perPage, int* recordsBefore) const {
  std::int64_t before = 0;
  int s = 0;
  while (true) {
    const std::int64_t pages = pageCounts[PageCountIndex(s, type)];
    const std::int64_t inSegment = pages > 0 ? pages * perPage : 0;
    if (inSegment + before >= number) break;
    before += inSegment;
    if (++s == kMaxSegments) {
      before = 0;
      break;
    }
  }
  *recordsBefore = static_cast<int>(before);
  return s;
}

int CPAFDatabase::PageOfRecord(int segment, int numberInSegment, int perPage, int type) const {
  if (segment < 0 || segment >= segmentIndexCount) return 0;
  const SegmentIndex& index = *segmentIndexes[static_cast<std::size_t>(segment)];
  const int pageInType = (numberInSegment - 1) / perPage;
  // The table may promise more pages than the map lists; a position past the type's own group
  // would name a page of another type.
  if (pageInType < 0 || pageInType >= index.pagesOfType[type - 1]) return 0;
  const int position = index.entries[type - 1] + pageInType;
  if (position < kIndexGroupStarts || position >= kSegmentIndexEntries) return 0;
  return index.entries[position];
}

bool CPAFDatabase::LocateRecord(int number, int* segment, int* page, int* slot, int type, int perPage) const {
  if (number < 1 || type < kMinPageType || type > kMaxPageType || perPage < 1) return false;
  int before = 0;
  const int s = FindSegment(number, type, perPage, &before);
  if (s < 0 || s >= kMaxSegments) return false;
  const int m = number - before;
  const int p = PageOfRecord(s, m, perPage, type);
  if (p < 1 || p > kPagesPerSegment) return false;
  *segment = s;
  *page = p;
  *slot = (m - 1) % perPage;
  return true;
}

int CPAFDatabase::RecordOffset(int number, int type, int size, int perPage) const {
  int segment = 0, page = 0, slot = 0;
  if (size < 1 || !LocateRecord(number, &segment, &page, &slot, type, perPage)) return 0;
  const std::int64_t offset = PageOffset(segment, page) + std::int64_t{slot} * size;
  if (offset + size > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<int>(offset);
}

// The numbers of segment s run from before + 1 to before + pageCounts * perPage, but only
// those on the first min(pageCounts, pages the map lists) pages have a page (PageOfRecord).
int CPAFDatabase::RecordSlots(int type, int perPage) const {
  if (type < kMinPageType || type > kMaxPageType || perPage < 1) return 0;
  std::int64_t before = 0;
  std::int64_t last = 0;
  for (int s = 0; s < kMaxSegments; ++s) {
    const std::int64_t pages = std::max<std::int64_t>(pageCounts[PageCountIndex(s, type)], 0);
    if (s < segmentIndexCount) {
      const std::int64_t listed = segmentIndexes[static_cast<std::size_t>(s)]->pagesOfType[type - 1];
      const std::int64_t usable = std::min(pages, listed);
      if (usable > 0) last = before + usable * perPage;
    }
    before += pages * perPage;
  }
  return static_cast<int>(std::min<std::int64_t>(last, std::numeric_limits<std::int32_t>::max()));
}

bool CPAFDatabase::ReadRecord(void* buffer, int size, int number, int type, int perPage) {
  std::memset(buffer, 0, static_cast<std::size_t>(size));
  const int offset = RecordOffset(number, type, size, perPage);
  if (offset == 0) return false;
  int got = 0;
  return ReadAt(offset, buffer, size, &got);
}

bool CPAFDatabase::WriteRecord(const void* bytes, int size, int number, int type, int perPage) {
  const int offset = RecordOffset(number, type, size, perPage);
  if (offset == 0) return false;
  return WriteAt(offset, bytes, size);
}

bool CPAFDatabase::ReadIndividual(IndividualRecord* record, int number) {
  return ReadRecord(record, kIndividual.size, number, kIndividual.type, kIndividual.perPage);
}

bool CPAFDatabase::ReadMarriage(MarriageRecord* record, int number) {
  return ReadRecord(record, kMarriage.size, number, kMarriage.type, kMarriage.perPage);
}

bool CPAFDatabase::ReadCitation(CitationRecord* record, int number) {
  return ReadRecord(record, kCitation.size, number, kCitation.type, kCitation.perPage);
}

bool CPAFDatabase::ReadSource(SourceRecord* record, int number) {
  return ReadRecord(record, kSource.size, number, kSource.type, kSource.perPage);
}

bool CPAFDatabase::ReadMediaLink(MediaLinkRecord* record, int number) {
  return ReadRecord(record, kMediaLink.size, number, kMediaLink.type, kMediaLink.perPage);
}

bool CPAFDatabase::WriteMediaLink(const MediaLinkRecord* record, int number) {
  return WriteRecord(record, kMediaLink.size, number, kMediaLink.type, kMediaLink.perPage);
}

int CPAFDatabase::MediaLinkSlots() const { return RecordSlots(kMediaLink.type, kMediaLink.perPage); }
