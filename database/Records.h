#pragma once
// Fixed layouts of the records the packer reads and writes. Each struct maps the record's
// bytes exactly; bytes marked unknown are carried through unchanged when a record is written
// back. All integers are little-endian, texts 8-bit (code page 1252) and zero-terminated.
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// Text record, stored in pages of type 1 as n + 14 bytes (n = text length, at most 255).
// In memory it is a 269-byte buffer whose last text byte is always zero after a read.
//
//   offset  width  field   meaning
//   0       4      left    offset of the record with the next smaller key; 0 = none
//   4       4      right   offset of the record with the next greater key; 0 = none
//   8       4      parent  offset of the record above in the tree; 0 = none
//   12      1      kind    signed; 5 = path of a multimedia file
//   13      n + 1  text    the text and its zero byte
struct TextRecord {
  std::int32_t left;
  std::int32_t right;
  std::int32_t parent;
  std::int8_t kind;
  char text[256];
};

// Multimedia link record, 62 bytes, page type 20, numbered 1..mediaLinkCount.
//
//   offset  width  field           meaning
//   0       4      ownerNumber     RIN, MRIN, source or citation number, as ownerType says
//   4       8      -               not interpreted
//   12      4      pathText        offset of the kind-5 text with the file's path; 0 = none
//   16      8      -               not interpreted
//   24      4      secondPathText  offset of a second path text; 0 = none; never changed
//   28      1      -               not interpreted
//   29      1      ownerType       unsigned: 100 individual, 102 marriage, 129 source,
//                                  131 not read, 132 citation; 0 = slot holds no link
//   30      32     -               not interpreted
struct MediaLinkRecord {
  std::int32_t ownerNumber;
  unsigned char unknown4[8];
  std::int32_t pathText;
  unsigned char unknown16[8];
  std::int32_t secondPathText;
  unsigned char unknown28[1];
  std::uint8_t ownerType;
  unsigned char unknown30[32];
};

// Marriage record, 106 bytes, page type 3, numbered by MRIN.
//
//   offset  width  field    meaning
//   0       4      -        not interpreted
//   4       4      husband  RIN of the husband; 0 = none linked
//   8       4      wife     RIN of the wife; 0 = none linked
//   12      94     -        not interpreted
struct MarriageRecord {
  unsigned char unknown0[4];
  std::int32_t husband;
  std::int32_t wife;
  unsigned char unknown12[94];
};

// Citation record, 145 bytes, page type 6.
//
//   offset  width  field        meaning
//   0       128    -            not interpreted
//   128     4      ownerNumber  RIN or MRIN of the owner, as ownerEvent says
//   132     1      ownerEvent   letter: A baptism, B birth, D death, R burial, I sources button
//                               (individual); E endowment, G and S marriage event, M sources
//                               button (marriage)
//   133     12     -            not interpreted
struct CitationRecord {
  unsigned char unknown0[128];
  std::int32_t ownerNumber;
  char ownerEvent;
  unsigned char unknown133[12];
};

// Source record, 507 bytes, page type 7.
//
//   offset  width       field   meaning
//   0       124         author  zero-terminated text
//   124     up to 383   title   zero-terminated text
struct SourceRecord {
  char author[124];
  char title[383];
};

// Individual record, 221 bytes, page type 2. No field is interpreted; record 1 being
// readable shows that the database holds anyone.
struct IndividualRecord {
  unsigned char bytes[221];
};

#pragma pack(pop)

static_assert(sizeof(TextRecord) == 269);
static_assert(offsetof(TextRecord, right) == 4);
static_assert(offsetof(TextRecord, parent) == 8);
static_assert(offsetof(TextRecord, kind) == 12);
static_assert(offsetof(TextRecord, text) == 13);

static_assert(sizeof(MediaLinkRecord) == 62);
static_assert(offsetof(MediaLinkRecord, pathText) == 12);
static_assert(offsetof(MediaLinkRecord, secondPathText) == 24);
static_assert(offsetof(MediaLinkRecord, ownerType) == 29);

static_assert(sizeof(MarriageRecord) == 106);
static_assert(offsetof(MarriageRecord, husband) == 4);
static_assert(offsetof(MarriageRecord, wife) == 8);

static_assert(sizeof(CitationRecord) == 145);
static_assert(offsetof(CitationRecord, ownerNumber) == 128);
static_assert(offsetof(CitationRecord, ownerEvent) == 132);

static_assert(sizeof(SourceRecord) == 507);
static_assert(offsetof(SourceRecord, title) == 124);

static_assert(sizeof(IndividualRecord) == 221);

namespace paf {

// Size of a text record in the file for a text of n bytes.
constexpr int kTextRecordFixedSize = 13;
constexpr int kTextRecordOverhead = kTextRecordFixedSize + 1;  // fixed part and terminator
constexpr int kMaxStoredText = 255;
constexpr int kTextRecordBufferSize = static_cast<int>(sizeof(TextRecord));  // 269

// The kind of a text that holds the path of a multimedia file.
constexpr int kMediaPathKind = 5;
// Kinds below this are in the low tree, the others in the high tree.
constexpr int kFirstHighKind = 4;

}  // namespace paf
