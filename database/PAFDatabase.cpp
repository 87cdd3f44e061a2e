// Opening a database, its page map and the allocation of new pages.
#include "database/PAFDatabase.h"

#include <cstring>
#include <limits>

#include "database/Coding.h"
#include "platform/Cp1252.h"
#include "platform/File.h"

using namespace paf;

namespace {

constexpr char kSignature[4] = {'P', 'A', 'F', '\0'};
constexpr char kVersionStamp[4] = {'5', '0', '0', '\0'};

// The header image as bytes, for the per-type page counts that have no single field name.
unsigned char* HeaderBytes(PAFHeader& header) { return reinterpret_cast<unsigned char*>(&header); }

}  // namespace

CPAFDatabase::CPAFDatabase() : header{}, fileHandle(), readOnly(false), pageCounts{}, segmentIndexes(), segmentIndexCount(0) {}

CPAFDatabase::~CPAFDatabase() = default;

std::optional<std::string> CPAFDatabase::WideToAnsi(const char16_t* text) {
  if (text == nullptr) return std::nullopt;
  return platform::wideToAnsiText(text);
}

int CPAFDatabase::Open(const char16_t* path, bool readOnlyAccess) {
  std::optional<std::string> ansiPath = WideToAnsi(path);
  if (!ansiPath) return kBadFile;

  fileHandle = platform::File::openExisting(*ansiPath, !readOnlyAccess);
  if (fileHandle == nullptr) return kCannotOpen;
  // Set before the reads so that nothing is written through a read-only handle meanwhile.
  readOnly = readOnlyAccess;

  const bool good = ReadHeader() == 1 && LoadSegmentMaps() && ReadPageCountTable();
  if (!good) {
    fileHandle.reset();
    return kBadFile;
  }
  return kOpened;
}

bool CPAFDatabase::ReadAt(std::int64_t offset, void* buffer, int size, int* bytesRead) {
  *bytesRead = 0;
  if (fileHandle == nullptr || offset < 0 || size < 0) return false;
  const std::size_t got = fileHandle->readAt(offset, buffer, static_cast<std::size_t>(size));
  *bytesRead = static_cast<int>(got);
  return got == static_cast<std::size_t>(size);
}

int CPAFDatabase::ReadHeader() {
  int got = 0;
  if (!ReadAt(0, &header, kHeaderSize, &got)) return -1;
  if (std::memcmp(header.signature, kSignature, sizeof kSignature) != 0) return -2;
  // A segment count the in-memory model cannot hold makes the file bad.
  if (header.segmentCount < 0 || header.segmentCount > kMaxSegments) return -2;
  return 1;
}

bool CPAFDatabase::LoadSegmentMaps() {
  for (int s = 0; s < header.segmentCount; ++s) {
    if (LoadSegmentMap(s) != 1) return false;
  }
  return true;
}

void CPAFDatabase::AddSegmentIndex() {
  auto index = std::make_unique<SegmentIndex>();
  std::memset(index.get(), 0, sizeof(SegmentIndex));
  segmentIndexes[static_cast<std::size_t>(segmentIndexCount)] = std::move(index);
  ++segmentIndexCount;
}

int CPAFDatabase::LoadSegmentMap(int segment) {
  if (segment < 0 || segment >= kMaxSegments) return -1;
  unsigned char map[kPagesPerSegment];
  int got = 0;
  if (!ReadAt(PageOffset(segment, 0), map, kPageSize, &got)) return -1;
  if (map[0] != kSegmentMapPage) return -2;

  while (segmentIndexCount <= segment) AddSegmentIndex();
  SegmentIndex& index = *segmentIndexes[static_cast<std::size_t>(segment)];

  int count[kTypesPerSegment] = {};
  for (int p = 0; p < kPagesPerSegment; ++p) {
    if (map[p] >= kMinPageType && map[p] <= kMaxPageType) ++count[map[p] - 1];
  }
  int start = kIndexGroupStarts;
  for (int t = 0; t < kTypesPerSegment; ++t) {
    index.entries[t] = static_cast<std::int16_t>(start);
    start += count[t];
  }
  // Byte 0 (the map itself, type 11) is counted above but never placed: its slot in the
  // type-11 group keeps whatever it held, and nobody looks type-11 pages up.
  int placed[kTypesPerSegment] = {};
  for (int p = 1; p < kPagesPerSegment; ++p) {
    const int t = map[p];
    if (t < kMinPageType || t > kMaxPageType) continue;
    index.entries[index.entries[t - 1] + placed[t - 1]] = static_cast<std::int16_t>(p);
    ++placed[t - 1];
  }
  for (int t = 0; t < kTypesPerSegment; ++t) index.pagesOfType[t] = static_cast<std::int16_t>(placed[t]);
  std::memcpy(index.pageTypes, map, sizeof map);
  return 1;
}

bool CPAFDatabase::ReadPageCountTable() {
  unsigned char table[kPageCountTableSize];
  int got = 0;
  if (!ReadAt(kPageCountTableOffset, table, kPageCountTableSize, &got)) return false;
  for (int i = 0; i < kPageCountEntries; ++i) pageCounts[i] = DecodeFixed16(table + 2 * i);
  return true;
}

bool CPAFDatabase::WriteAt(std::int64_t offset, const void* bytes, int size) {
  if (readOnly) return true;
  if (fileHandle == nullptr || offset < 0 || size < 0 || writeFailed) return false;
  if (fileHandle->writeAt(offset, bytes, static_cast<std::size_t>(size)) == static_cast<std::size_t>(size)) return true;
  writeFailed = true;
  return false;
}

void CPAFDatabase::WriteHeader() {
  if (readOnly) return;
  std::memcpy(header.versionStamp, kVersionStamp, sizeof kVersionStamp);
  WriteAt(0, &header, kHeaderSize);
}

bool CPAFDatabase::WriteHeaderCounters() {
  return WriteAt(kHeaderCountersOffset, HeaderBytes(header) + kHeaderCountersOffset, kHeaderCountersSize);
}

void CPAFDatabase::Flush() {
  if (fileHandle != nullptr && !readOnly && !fileHandle->flush()) writeFailed = true;
}

int CPAFDatabase::PageType(std::int64_t offset) const {
  if (offset < kFirstSegmentOffset) return 0;
  const std::int64_t relative = offset - kFirstSegmentOffset;
  const std::int64_t segment = relative / kSegmentSize;
  const int page = static_cast<int>((relative % kSegmentSize) / kPageSize);
  if (segment >= segmentIndexCount || page == 0) return 0;
  const std::uint8_t t = segmentIndexes[static_cast<std::size_t>(segment)]->pageTypes[page];
  return t >= kMinPageType && t <= kMaxPageType ? t : 0;
}

// Adds a page of the type. The writes go in an order that a failed write (a full or failing
// disk) or a killed process can cut anywhere without harm: the zero page first, then the
// header and the page-count table that count it, and the map byte that lists it last. Cut
// short, this leaves at most a page that is counted but not listed, which nobody uses and the
// next allocation passes by; never a page that the map lists but the header does not count,
// which every later allocation would refuse as somebody's.
int CPAFDatabase::AllocatePage(int type) {
  // A map page is no data page: its count is segmentCount, which only a new segment moves.
  if (type < kMinPageType || type > kMaxPageType || type == kSegmentMapPage) return 0;
  if (fileHandle == nullptr || header.segmentCount < 1 || header.segmentCount > kMaxSegments) return 0;

  int segment = header.segmentCount - 1;
  int page = header.pagesUsedInLastSegment;
  const bool newSegment = page >= kPagesPerSegment;
  if (newSegment) {
    ++segment;
    page = 1;
    if (segment >= kMaxSegments) return 0;  // a 32nd segment lies beyond signed 32-bit offsets
  } else if (page < 1) {
    return 0;  // would overwrite the segment's map
  }

  static const unsigned char zeros[kPageSize] = {};
  if (newSegment) {
    unsigned char map[kPageSize] = {};
    map[0] = kSegmentMapPage;
    if (!WriteAt(PageOffset(segment, 0), map, kPageSize)) return 0;
  } else if (!readOnly) {
    // A page the map already gives a type holds somebody's data: never hand it out again.
    unsigned char mapByte = 0;
    int got = 0;
    if (!ReadAt(PageOffset(segment, 0) + page, &mapByte, 1, &got) || mapByte != 0) return 0;
  }
  if (!WriteAt(PageOffset(segment, page), zeros, kPageSize)) return 0;

  if (newSegment) {
    header.pagesUsedInLastSegment = 1;
    header.segmentCount = PlusOne(header.segmentCount);
    // The new segment's index exists from here on, even in read-only mode where its map
    // was never written.
    while (segmentIndexCount <= segment) AddSegmentIndex();
  }

  // CountNewPage
  header.pagesUsedInLastSegment = PlusOne(header.pagesUsedInLastSegment);
  if (const int at = HeaderPageCountOffset(type); at != 0) {
    unsigned char* count = HeaderBytes(header) + at;
    EncodeFixed32(count, PlusOne(DecodeFixed32(count)));
  }
  WriteHeader();

  // IncrementPageCount
  const int entry = PageCountIndex(segment, type);
  pageCounts[entry] = static_cast<std::int16_t>(pageCounts[entry] + 1);
  unsigned char encoded[2];
  EncodeFixed16(encoded, pageCounts[entry]);
  WriteAt(kPageCountTableOffset + 2 * entry, encoded, 2);

  // SetPageType
  const unsigned char typeByte = static_cast<unsigned char>(type);
  WriteAt(PageOffset(segment, 0) + page, &typeByte, 1);

  Flush();
  LoadSegmentMap(segment);
  // A page not listed, or not counted, takes no records: the caller must not go on with it.
  if (writeFailed) return 0;
  return static_cast<int>(PageOffset(segment, page));
}
