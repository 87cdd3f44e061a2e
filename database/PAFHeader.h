#pragma once
// The header of a PAF 5 database: the first 1685 bytes of the file, mapped byte for byte.
//
//   offset  width  field                    meaning
//   0       4      versionStamp             "500\0" before every full header write; never compared
//   4       4      -                        not interpreted
//   8       4      signature                "PAF\0"; anything else is not a PAF 5 file
//   12      2      -                        not interpreted
//   14      4      pagesUsedInLastSegment   pages in use in the last segment, map included; the
//                                           next page allocated there gets this number
//   18      4      segmentCount             segments in the file (= page count of type 11)
//   26      4      individualPageCount      type 2
//   46      4      type10PageCount
//   66      4      type9PageCount
//   90      4      textRecordCount          text records; one more per appended text
//   94      4      textPageCount            type 1
//   98      4      lowKindTreeRoot          offset of the root text of kinds below 4; 0 = no text page yet
//   102     4      textAppendOffset         where the next text record goes
//   106     4      textAppendEnd            just past the current text page
//   114     4      type18PageCount
//   118     4      highKindTreeRoot         offset of the root text of kinds 4 and above; 0 = empty
//   134     4      marriagePageCount        type 3
//   154     4      type4PageCount
//   174     4      citationPageCount        type 6
//   194     4      sourcePageCount          type 7
//   214     4      type8PageCount
//   234     4      type5PageCount
//   254     4      type13PageCount
//   270     4      mediaLinkCount           highest multimedia link record number; never written
//   274     4      mediaLinkPageCount       type 20
//   294     4      type12PageCount
//   314     4      type17PageCount
//
// Every byte not named is carried through unchanged: the header is written back whole from the
// image that was read.
#include <cstddef>
#include <cstdint>

#include "database/PAFFormat.h"

#pragma pack(push, 1)
struct PAFHeader {
  char versionStamp[4];
  unsigned char unknown4[4];
  char signature[4];
  unsigned char unknown12[2];
  std::int32_t pagesUsedInLastSegment;
  std::int32_t segmentCount;
  unsigned char unknown22[4];
  std::int32_t individualPageCount;
  unsigned char unknown30[16];
  std::int32_t type10PageCount;
  unsigned char unknown50[16];
  std::int32_t type9PageCount;
  unsigned char unknown70[20];
  std::int32_t textRecordCount;
  std::int32_t textPageCount;
  std::int32_t lowKindTreeRoot;
  std::int32_t textAppendOffset;
  std::int32_t textAppendEnd;
  unsigned char unknown110[4];
  std::int32_t type18PageCount;
  std::int32_t highKindTreeRoot;
  unsigned char unknown122[12];
  std::int32_t marriagePageCount;
  unsigned char unknown138[16];
  std::int32_t type4PageCount;
  unsigned char unknown158[16];
  std::int32_t citationPageCount;
  unsigned char unknown178[16];
  std::int32_t sourcePageCount;
  unsigned char unknown198[16];
  std::int32_t type8PageCount;
  unsigned char unknown218[16];
  std::int32_t type5PageCount;
  unsigned char unknown238[16];
  std::int32_t type13PageCount;
  unsigned char unknown258[12];
  std::int32_t mediaLinkCount;
  std::int32_t mediaLinkPageCount;
  unsigned char unknown278[16];
  std::int32_t type12PageCount;
  unsigned char unknown298[16];
  std::int32_t type17PageCount;
  unsigned char unknown318[paf::kHeaderSize - 318];
};
#pragma pack(pop)

static_assert(sizeof(PAFHeader) == paf::kHeaderSize);
static_assert(offsetof(PAFHeader, signature) == 8);
static_assert(offsetof(PAFHeader, pagesUsedInLastSegment) == 14);
static_assert(offsetof(PAFHeader, segmentCount) == 18);
static_assert(offsetof(PAFHeader, individualPageCount) == paf::HeaderPageCountOffset(2));
static_assert(offsetof(PAFHeader, type10PageCount) == paf::HeaderPageCountOffset(10));
static_assert(offsetof(PAFHeader, type9PageCount) == paf::HeaderPageCountOffset(9));
static_assert(offsetof(PAFHeader, textRecordCount) == 90);
static_assert(offsetof(PAFHeader, textPageCount) == paf::HeaderPageCountOffset(1));
static_assert(offsetof(PAFHeader, lowKindTreeRoot) == 98);
static_assert(offsetof(PAFHeader, textAppendOffset) == 102);
static_assert(offsetof(PAFHeader, textAppendEnd) == 106);
static_assert(offsetof(PAFHeader, type18PageCount) == paf::HeaderPageCountOffset(18));
static_assert(offsetof(PAFHeader, highKindTreeRoot) == 118);
static_assert(offsetof(PAFHeader, marriagePageCount) == paf::HeaderPageCountOffset(3));
static_assert(offsetof(PAFHeader, type4PageCount) == paf::HeaderPageCountOffset(4));
static_assert(offsetof(PAFHeader, citationPageCount) == paf::HeaderPageCountOffset(6));
static_assert(offsetof(PAFHeader, sourcePageCount) == paf::HeaderPageCountOffset(7));
static_assert(offsetof(PAFHeader, type8PageCount) == paf::HeaderPageCountOffset(8));
static_assert(offsetof(PAFHeader, type5PageCount) == paf::HeaderPageCountOffset(5));
static_assert(offsetof(PAFHeader, type13PageCount) == paf::HeaderPageCountOffset(13));
static_assert(offsetof(PAFHeader, mediaLinkCount) == 270);
static_assert(offsetof(PAFHeader, mediaLinkPageCount) == paf::HeaderPageCountOffset(20));
static_assert(offsetof(PAFHeader, type12PageCount) == paf::HeaderPageCountOffset(12));
static_assert(offsetof(PAFHeader, type17PageCount) == paf::HeaderPageCountOffset(17));
