#pragma once
// PafBuilder: writes PAF 5 database files from a description, straight from the file format
// (tests/support/PafFormat.h) and independently of the database engine, so that the engine is
// tested against a second implementation of the format.
//
// Describe records and texts, optionally choose where pages go, then build() an image; damage
// it afterwards with PafImage::patch / truncate at the offsets the image reports.
//
//   PafBuilder b;
//   int rin = b.addIndividual();
//   int link = b.addMediaLink(paf::kOwnerIndividual, rin, ".\\Photos\\me.jpg");
//   b.placePages(paf::kMediaLinkPage, {{1, 5}});       // the link page in segment 1
//   PafImage image = b.build();
//   image.patchInt32(image.recordOffset(paf::kMediaLinkPage, link) + paf::kLinkPathText, 1);
//   image.writeTo(folder / "tree.paf");
//
// Unless told otherwise the builder lays pages out from page 1 of segment 0 upwards, in the
// order individuals, marriages, citations, sources, link records, pages added with addPages,
// text pages; derives the header fields, the page-count table and the maps from that layout;
// and fills the bytes that the format leaves uninterpreted (in the header and in records) with a
// pattern, so a reader that writes them back changed or zeroed is caught.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/PafFormat.h"
#include "tests/support/PafImage.h"

namespace corvane::testing {

struct MediaLink {
  int ownerType = 0;  // 100, 102, 129, 131, 132 (paf::kOwner...); 0 = the slot holds no link
  std::int32_t ownerNumber = 0;
  TextId path = kNoText;        // kNoText writes pathText 0
  TextId secondPath = kNoText;  // kNoText writes secondPathText 0
};

// How texts are linked into their tree.
enum class TreeShape {
  kBalanced,        // built from the sorted texts; depth about log2(n)
  kInsertionOrder,  // each text inserted in the order added, as a plain search tree would grow
};

class PafBuilder {
 public:
  PafBuilder();

  // Records. Each returns the record's number (1-based, per type, in the order added).
  // An individual's bytes are not interpreted by readers: the default fills all 221 with a
  // pattern unique to the number; the other overload takes raw bytes, zero-padded.
  int addIndividual();
  int addIndividual(std::string_view bytes);
  int addMarriage(std::int32_t husband, std::int32_t wife);
  int addCitation(std::int32_t ownerNumber, char ownerEvent);
  // REQUIRES: author shorter than 124 bytes, title shorter than 383.
  int addSource(std::string_view author, std::string_view title);
  int addMediaLink(const MediaLink& link);
  // A link whose path is the kind-5 text `path` (one text record per distinct path).
  int addMediaLink(int ownerType, std::int32_t ownerNumber, std::string_view path);
  // A record of type 2, 3, 6, 7 or 20 from raw bytes, zero-padded to the record size.
  int addRecord(int type, std::string_view bytes);

  // Texts, placed in the text pages in the order added. `linked` texts go into the tree of
  // their kind (below 4: lowKindTreeRoot, else highKindTreeRoot); unlinked ones are only
  // stored, as an appended text is. REQUIRES: at most 255 bytes, no zero byte, kind -128..127.
  TextId addText(std::string_view text, int kind, bool linked = true);
  // The kind-5 linked text holding `path`; added on first use, the same id afterwards.
  TextId pathText(std::string_view path);
  void setTreeShape(TreeShape shape) { treeShape_ = shape; }

  // Layout.
  // Puts the pages of `type` exactly at these places (any order given; record order follows
  // ascending segment, then page). Places beyond what the records need become empty pages of
  // the type. build() throws std::logic_error when the records need more places, or when two
  // pages claim the same place.
  void placePages(int type, std::vector<PagePlace> places);
  // `count` more pages of `type` (1..32 but 11) beyond what its records need, zero-filled:
  // empty record slots, empty text pages, or pages of types that readers skip.
  void addPages(int type, int count);
  // Sets the map byte of a page that nothing else uses: 0 keeps it unused (automatic layout
  // then skips it), 33..255 marks junk that readers ignore (zero-filled, not counted in the
  // page counts, but in use for pagesUsedInLastSegment and the file's length).
  // REQUIRES: value 0 or 33..255 (pages of a type go through placePages / addPages).
  void setMapByte(int segment, int page, std::uint8_t value);
  // At least this many segments (each gets its map page). Default: as many as the pages need.
  void setSegmentCount(int count);
  // Header fields that otherwise follow from the layout.
  void setPagesUsedInLastSegment(std::int32_t pages);  // default: highest used page + 1
  void setMediaLinkCount(std::int32_t count);          // default: link records added
  void setVersionStamp(std::string_view fourBytes);    // default "V499" (not "500")
  // Leaves exactly `bytes` (0..8192) free at the end of the last text page in use, i.e.
  // textAppendEnd - textAppendOffset == bytes, adding an empty text page when the texts leave
  // less room than that. Default: the append position is right after the last text.
  void leaveTextRoom(int bytes);

  // Lays everything out and writes the image. Throws std::logic_error on a description that
  // cannot be laid out (too few places, clashing places, more than 31 segments).
  PafImage build() const;

 private:
  struct Text {
    std::string bytes;
    int kind;
    bool linked;
  };
  int addRaw(int type, std::string record);

  std::map<int, std::vector<std::string>> records_;  // type -> records, complete bytes
  // Per link record (by number - 1): the texts whose offsets build() writes into pathText and
  // secondPathText; kNoText leaves the record's bytes as they are.
  std::vector<std::pair<TextId, TextId>> linkTexts_;
  std::vector<Text> texts_;
  std::map<std::string, TextId> pathTexts_;
  std::map<int, std::vector<PagePlace>> placed_;
  std::map<int, int> extraPages_;
  std::map<std::pair<int, int>, std::uint8_t> mapBytes_;
  TreeShape treeShape_ = TreeShape::kBalanced;
  int segmentCount_ = 0;
  std::optional<std::int32_t> pagesUsedInLastSegment_;
  std::optional<std::int32_t> mediaLinkCount_;
  std::string versionStamp_ = "V499";
  std::optional<int> textRoom_;
};

}  // namespace corvane::testing
