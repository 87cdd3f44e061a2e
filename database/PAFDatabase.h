#pragma once
// An open PAF 5 database file: the header, the page-count table and an index of every
// segment's pages by type, with record access by number and the text tree.
//
// The engine never shows a message and never ends the process: every operation reports by
// its result. Every number read from the file is checked before it is used; nothing reads or
// writes outside a buffer, and no walk can loop on a damaged file.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "database/PAFFormat.h"
#include "database/PAFHeader.h"
#include "database/Records.h"
#include "database/UnicodeCompare.h"

namespace platform {
class File;
}

// The page numbers of one segment grouped by type (see LoadSegmentMap).
//   entries[t - 1]    (t = 1..32): position within entries of the first page of type t
//   entries[32 ...]   page numbers, by type in ascending order, within a type ascending
// Built in place on every load of the segment's map and kept until the database goes.
struct SegmentIndex {
  std::int16_t entries[paf::kSegmentIndexEntries];
  // Pages of each type that the map lists; the end of type t's group is
  // entries[t - 1] + pagesOfType[t - 1]. Kept beside the entries so that a look-up never
  // wanders from one type's group into the next one's.
  std::int16_t pagesOfType[paf::kTypesPerSegment];
  // The map bytes as loaded, so that the type of any page is one look-up away.
  std::uint8_t pageTypes[paf::kPagesPerSegment];
};

class CPAFDatabase {
 public:
  // Results of Open.
  static constexpr int kOpened = 1;
  static constexpr int kBadFile = -1;
  static constexpr int kCannotOpen = -2;

  CPAFDatabase();
  ~CPAFDatabase();
  CPAFDatabase(const CPAFDatabase&) = delete;
  CPAFDatabase& operator=(const CPAFDatabase&) = delete;

  // Opens an existing database by its Windows path. readOnly false opens for reading and
  // writing, shared with readers only. 1 = open; -1 = not a usable PAF 5 file (path not
  // convertible, header, page-count table or a segment map short or wrong, segmentCount
  // outside 0..31); -2 = the file does not open (absent, no access, held by another writer).
  int Open(const char16_t* path, bool readOnly);

  // Fixed-size records by number, 1-based across the file. A read that fails leaves the
  // buffer zero-filled beyond what was read and returns false; a write that cannot be placed
  // writes nothing and returns false.
  bool ReadIndividual(IndividualRecord* record, int number);
  bool ReadMarriage(MarriageRecord* record, int number);
  bool ReadCitation(CitationRecord* record, int number);
  bool ReadSource(SourceRecord* record, int number);
  bool ReadMediaLink(MediaLinkRecord* record, int number);
  bool WriteMediaLink(const MediaLinkRecord* record, int number);

  // The highest link record number that has a page; ReadMediaLink fails for every number
  // above it. A walk over the link records stops here as well as at header.mediaLinkCount,
  // which a damaged header may set to anything up to 2^31 - 1.
  int MediaLinkSlots() const;

  // Reads the text record at the offset into the caller's buffer; the address of its text,
  // or nullptr when it cannot be read.
  char* GetText(int offset, TextRecord* record);

  // Looks (key, kind) up in the text tree of the kind. > 0: offset of the matching record,
  // position = its parent. 0: empty tree, position 0. -1 / -2: not found, the search ended at
  // a record without a right / left link, position = that record. -3: a record on the way
  // was unreadable or the walk took more steps than the file can hold texts (a cycle);
  // position unchanged. position may be null.
  int FindText(const char16_t* key, int kind, TextRecord* record, int* position = nullptr);

  // Appends the text the caller put into record->text as a new record of the kind, with the
  // given parent, not linked into a tree. Returns its offset, or 0 when it was not stored:
  // a text longer than 255 bytes, no page for it, or a failed write (of the record or of the
  // header counters that keep the next append from landing on it).
  int AddTextRecord(TextRecord* record, int kind, int parent);

  // Adds a page of the type after the pages in use of the last segment; its offset, or 0
  // when no page could be added (nothing in memory has changed then, unless a write failed
  // after the zero page was on disk; WriteFailed() tells).
  int AllocatePage(int type);

  // Steps of Open and AllocatePage, public as the engine's own building blocks.
  int ReadHeader();
  bool LoadSegmentMaps();
  int LoadSegmentMap(int segment);
  bool ReadPageCountTable();
  bool WriteAt(std::int64_t offset, const void* bytes, int size);
  void WriteHeader();
  bool WriteHeaderCounters();
  void Flush();

  // Record location, for the typed operations above.
  int FindSegment(int number, int type, int perPage, int* recordsBefore) const;
  bool LocateRecord(int number, int* segment, int* page, int* slot, int type, int perPage) const;
  int PageOfRecord(int segment, int numberInSegment, int perPage, int type) const;
  int RecordOffset(int number, int type, int size, int perPage) const;
  int RecordSlots(int type, int perPage) const;
  bool ReadRecord(void* buffer, int size, int number, int type, int perPage);
  bool WriteRecord(const void* bytes, int size, int number, int type, int perPage);
  int ReadTextRecord(int offset, TextRecord* record);

  // 256 stored bytes (code page 1252) to 256 16-bit units.
  static void WidenText(char16_t* destination, const char* stored);
  // A 16-bit text in the ANSI code page; nullopt when a unit has no ANSI byte.
  static std::optional<std::string> WideToAnsi(const char16_t* text);

  bool isOpen() const { return fileHandle != nullptr; }

  // True once a write or a flush of this database failed (a full or failing disk). From then
  // on every write is refused (WriteAt returns false, nothing reaches the file), so that what
  // is on disk stays as consistent as it was at the failure: a link is only re-pointed after
  // its text and the header counters that protect it were written. Callers tell the user.
  bool WriteFailed() const { return writeFailed; }

  // Members in the order of the format's description: the header image first.
  PAFHeader header;

 private:
  bool ReadAt(std::int64_t offset, void* buffer, int size, int* bytesRead);
  void AddSegmentIndex();
  bool PlaceableTextAppend(int size);
  int PageType(std::int64_t offset) const;
  std::int64_t MaxTextRecords() const;

  std::unique_ptr<platform::File> fileHandle;
  bool readOnly;
  bool writeFailed = false;

 public:
  std::int16_t pageCounts[paf::kPageCountEntries];

 private:
  std::array<std::unique_ptr<SegmentIndex>, paf::kMaxSegments> segmentIndexes;
  int segmentIndexCount;
};
