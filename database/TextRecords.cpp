// Text records: reading, the look-up in the two text trees, and appending.
#include <cstring>

#include "database/PAFDatabase.h"
#include "database/Coding.h"
#include "platform/Cp1252.h"

using namespace paf;

namespace {

constexpr int kTextRecordsPerPageAtMost = kPageSize / kTextRecordOverhead + 1;

std::size_t BoundedLength(const char* text, std::size_t limit) {
  std::size_t n = 0;
  while (n < limit && text[n] != '\0') ++n;
  return n;
}

}  // namespace

int CPAFDatabase::ReadTextRecord(int offset, TextRecord* record) {
  // Start from a clean buffer: a record near the end of the file leaves bytes unread, and
  // they must not come from whatever the caller read before.
  std::memset(record, 0, sizeof *record);
  if (offset < 1) return 0;
  int got = 0;
  ReadAt(offset, record, kTextRecordBufferSize, &got);
  record->text[sizeof record->text - 1] = '\0';
  if (got < kTextRecordFixedSize) return 0;
  return static_cast<int>(std::strlen(record->text)) + kTextRecordOverhead;
}

char* CPAFDatabase::GetText(int offset, TextRecord* record) {
  return ReadTextRecord(offset, record) != 0 ? record->text : nullptr;
}

void CPAFDatabase::WidenText(char16_t* destination, const char* stored) {
  for (std::size_t i = 0; i < sizeof TextRecord::text; ++i) {
    destination[i] = platform::ansiToWide(static_cast<unsigned char>(stored[i]));
  }
}

// The most text records the file's text pages can hold: a longer walk goes round a cycle.
std::int64_t CPAFDatabase::MaxTextRecords() const {
  std::int64_t pages = 0;
  for (int s = 0; s < segmentIndexCount; ++s) pages += segmentIndexes[static_cast<std::size_t>(s)]->pagesOfType[kTextPage - 1];
  return pages * kTextRecordsPerPageAtMost + 1;
}

int CPAFDatabase::FindText(const char16_t* key, int kind, TextRecord* record, int* position) {
  const CUnicodeCompareDefault& comparer = CUnicodeCompareDefault::Shared();
  char16_t widened[sizeof TextRecord::text];
  int offset = kind >= kFirstHighKind ? header.highKindTreeRoot : header.lowKindTreeRoot;
  const std::int64_t maxSteps = MaxTextRecords();
  for (std::int64_t steps = 0; offset > 0; ++steps) {
    if (steps >= maxSteps || ReadTextRecord(offset, record) == 0) return -3;
    WidenText(widened, record->text);
    int order = comparer.Compare(key, widened);
    if (order == 0) {
      order = kind - record->kind;
      if (order == 0) {
        if (position != nullptr) *position = record->parent;
        return offset;
      }
    }
    if (order > 0) {
      if (record->right == 0 || record->right == offset) {
        if (position != nullptr) *position = offset;
        return -1;
      }
      offset = record->right;
    } else {
      if (record->left == 0 || record->left == offset) {
        if (position != nullptr) *position = offset;
        return -2;
      }
      offset = record->left;
    }
  }
  if (position != nullptr) *position = 0;
  return 0;
}

// Whether a record of `size` bytes can go at textAppendOffset: inside one text page, below
// textAppendEnd, on bytes that nothing has written yet (a text page starts as zeros and fills
// from its start). A damaged header, or one whose last write was cut short, must not make us
// write a text over somebody's records.
bool CPAFDatabase::PlaceableTextAppend(int size) {
  const std::int64_t at = header.textAppendOffset;
  const std::int64_t end = header.textAppendEnd;
  if (at < kFirstSegmentOffset || end - at < size) return false;
  if (PageType(at) != kTextPage) return false;
  const std::int64_t pageStart = at - (at - kFirstSegmentOffset) % kPageSize;
  if (end > pageStart + kPageSize) return false;
  unsigned char room[kTextRecordBufferSize] = {};
  int got = 0;
  ReadAt(at, room, size, &got);  // bytes past the end of the file count as zeros
  for (int i = 0; i < got; ++i) {
    if (room[i] != 0) return false;
  }
  return true;
}

int CPAFDatabase::AddTextRecord(TextRecord* record, int kind, int parent) {
  const std::size_t length = BoundedLength(record->text, sizeof record->text);
  if (length > static_cast<std::size_t>(kMaxStoredText)) return 0;
  record->left = 0;
  record->right = 0;
  record->parent = parent;
  record->kind = static_cast<std::int8_t>(kind);
  const int size = static_cast<int>(length) + kTextRecordOverhead;

  const bool firstTextPage = header.lowKindTreeRoot == 0;
  if (firstTextPage || !PlaceableTextAppend(size)) {
    const int page = AllocatePage(kTextPage);
    if (page == 0) return 0;
    if (firstTextPage) header.lowKindTreeRoot = page;
    header.textAppendOffset = page;
    header.textAppendEnd = page + kPageSize;
  }

  const int position = header.textAppendOffset;
  if (!WriteAt(position, record, size)) return 0;
  header.textRecordCount = PlusOne(header.textRecordCount);
  header.textAppendOffset += size;
  // Without the new append offset on disk, the next run would append over this record.
  if (!WriteHeaderCounters()) return 0;
  return position;
}
