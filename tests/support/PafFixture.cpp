#include "tests/support/PafFixture.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <stdexcept>

#include "tests/support/LittleEndian.h"

namespace corvane::testing {
namespace {

using paf::kPageSize;

// Byte `offset` of the uninterpreted bytes of record `number` of `type`: varies with all three,
// so that records can be told apart and a zeroed or shifted record shows.
char patternByte(int type, int number, int offset) {
  return static_cast<char>((number * 37 + offset * 11 + type * 5 + 1) & 0xFF);
}

void fillPattern(std::string& record, int type, int number, int from, int to) {
  for (int i = from; i < to; ++i) {
    record[static_cast<std::size_t>(i)] = patternByte(type, number, i);
  }
}

void put32(std::string& bytes, int offset, std::int32_t value) {
  encodeFixed32(bytes.data() + offset, value);
}

std::int32_t offset32(std::int64_t offset) {
  if (offset < 0 || offset > INT32_MAX) throw std::logic_error("PafBuilder: offset past 2 GiB");
  return static_cast<std::int32_t>(offset);
}

// Code page 1252 bytes 0x80..0x9F as 16-bit units; every other byte keeps its value (the five
// undefined ones included).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string widen(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    wide.push_back(byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80u] : char16_t{byte});
  }
  return wide;
}

// Header bytes that readers interpret; every other header byte gets a pattern.
bool isHeaderField(int offset) {
  constexpr std::array<int, 10> kFields = {
      paf::kVersionStampOffset,     paf::kSignatureOffset,          paf::kPagesUsedInLastSegmentOffset,
      paf::kSegmentCountOffset,     paf::kTextRecordCountOffset,    paf::kLowKindTreeRootOffset,
      paf::kTextAppendOffsetOffset, paf::kTextAppendEndOffset,      paf::kHighKindTreeRootOffset,
      paf::kMediaLinkCountOffset};
  const auto within = [offset](int field) { return offset >= field && offset < field + 4; };
  if (std::any_of(kFields.begin(), kFields.end(), within)) return true;
  for (int type = 1; type <= paf::kTypeCount; ++type) {
    const int field = paf::headerPageCountOffset(type);
    if (field != 0 && within(field)) return true;
  }
  return false;
}

int divideRoundingUp(std::size_t count, int per) {
  return static_cast<int>((count + static_cast<std::size_t>(per) - 1) / static_cast<std::size_t>(per));
}

// Tree links between texts, as indices into the builder's texts.
constexpr std::size_t kNone = SIZE_MAX;
struct TreeLinks {
  std::size_t left = kNone;
  std::size_t right = kNone;
  std::size_t parent = kNone;
};


// Where the texts go, in order, given their stored sizes: (text page index, position in the
// page) each, never crossing a page end, and where the next text would be appended.
struct TextPacking {
  std::vector<std::pair<int, int>> slots;
  int pagesNeeded = 0;
  int appendPage = 0;
  int appendPosition = 0;
};

TextPacking packTexts(const std::vector<int>& sizes, std::optional<int> room) {
  TextPacking packing;
  int page = 0;
  int position = 0;
  for (const int size : sizes) {
    if (position + size > kPageSize) {
      ++page;
      position = 0;
    }
    packing.slots.emplace_back(page, position);
    position += size;
  }
  packing.pagesNeeded = sizes.empty() ? 0 : page + 1;
  packing.appendPage = page;
  packing.appendPosition = position;
  if (room) {
    if (kPageSize - position < *room) packing.appendPage = sizes.empty() ? 0 : page + 1;
    packing.pagesNeeded = packing.appendPage + 1;
    packing.appendPosition = kPageSize - *room;
  }
  return packing;
}

using PageMap = std::map<std::pair<int, int>, std::uint8_t>;  // (segment, page) -> map byte
using PagesByType = std::map<int, std::vector<PagePlace>>;

void claim(PageMap& map, PagePlace place, std::uint8_t value) {
  if (place.segment < 0 || place.segment >= paf::kMaxSegments || place.page < 1 ||
      place.page >= paf::kPagesPerSegment) {
    throw std::logic_error("PafBuilder: page place outside segments 0..30, pages 1..8191");
  }
  if (!map.emplace(std::make_pair(place.segment, place.page), value).second) {
    throw std::logic_error("PafBuilder: two pages at one place");
  }
}

// Gives each type its pages: the places asked for, else the free pages from page 1 of segment
// 0 upwards, type after type in the order of `autoOrder`.
void layOutPages(const std::map<int, int>& needed, const PagesByType& placed,
                 const std::vector<int>& autoOrder, PageMap& map, PagesByType& pages) {
  const auto need = [&needed](int type) {
    const auto found = needed.find(type);
    return found == needed.end() ? 0 : found->second;
  };
  for (const auto& [type, places] : placed) {
    if (static_cast<int>(places.size()) < need(type)) {
      throw std::logic_error("PafBuilder::placePages: fewer places than the type needs");
    }
    std::vector<PagePlace> sorted = places;
    std::sort(sorted.begin(), sorted.end(), [](PagePlace a, PagePlace b) {
      return std::make_pair(a.segment, a.page) < std::make_pair(b.segment, b.page);
    });
    for (const PagePlace place : sorted) claim(map, place, static_cast<std::uint8_t>(type));
    pages[type] = std::move(sorted);
  }
  PagePlace cursor{0, 1};
  for (const int type : autoOrder) {
    if (placed.count(type) != 0) continue;
    while (static_cast<int>(pages[type].size()) < need(type)) {
      while (map.count({cursor.segment, cursor.page}) != 0) {
        if (++cursor.page == paf::kPagesPerSegment) cursor = {cursor.segment + 1, 1};
      }
      if (cursor.segment >= paf::kMaxSegments) {
        throw std::logic_error("PafBuilder: the pages need more than 31 segments");
      }
      claim(map, cursor, static_cast<std::uint8_t>(type));
      pages[type].push_back(cursor);
    }
  }
}

// What the map says per segment: the highest page in use and the pages of each type.
struct Census {
  int segmentCount = 0;
  std::vector<int> highestPage;  // the map page is page 0
  std::vector<std::array<std::int16_t, paf::kTypeCount>> counts;
};

Census takeCensus(const PageMap& map, int atLeastSegments) {
  Census census;
  census.segmentCount = std::max(1, atLeastSegments);
  for (const auto& entry : map) census.segmentCount = std::max(census.segmentCount, entry.first.first + 1);
  if (census.segmentCount > paf::kMaxSegments) {
    throw std::logic_error("PafBuilder: more than 31 segments");
  }
  census.highestPage.assign(static_cast<std::size_t>(census.segmentCount), 0);
  census.counts.assign(static_cast<std::size_t>(census.segmentCount), {});
  for (auto& segmentCounts : census.counts) segmentCounts[paf::kMapPage - 1] = 1;
  for (const auto& [place, value] : map) {
    if (value == 0) continue;
    const auto segment = static_cast<std::size_t>(place.first);
    census.highestPage[segment] = std::max(census.highestPage[segment], place.second);
    if (value <= paf::kTypeCount) ++census.counts[segment][value - 1u];  // junk is not counted
  }
  return census;
}

// Links the texts `members` (indices) into one search tree and returns the root's index.
template <typename Before>
std::size_t linkTree(std::vector<std::size_t> members, TreeShape shape, const Before& before,
                     std::vector<TreeLinks>& links) {
  std::size_t root = members.front();
  if (shape == TreeShape::kInsertionOrder) {
    for (std::size_t m = 1; m < members.size(); ++m) {
      const std::size_t text = members[m];
      std::size_t at = root;
      for (;;) {
        std::size_t& next = before(text, at) ? links[at].left : links[at].right;
        if (next == kNone) {
          next = text;
          links[text].parent = at;
          break;
        }
        at = next;
      }
    }
    return root;
  }
  std::stable_sort(members.begin(), members.end(), before);
  // Each range [low, high) of the sorted texts hangs its middle text under `parent`.
  struct Range {
    std::size_t low, high, parent;
    bool left;
  };
  std::vector<Range> work = {{0, members.size(), kNone, false}};
  while (!work.empty()) {
    const Range range = work.back();
    work.pop_back();
    if (range.low >= range.high) continue;
    const std::size_t middle = range.low + (range.high - range.low) / 2;
    const std::size_t text = members[middle];
    if (range.parent == kNone) {
      root = text;
    } else {
      links[text].parent = range.parent;
      (range.left ? links[range.parent].left : links[range.parent].right) = text;
    }
    work.push_back({range.low, middle, text, true});
    work.push_back({middle + 1, range.high, text, false});
  }
  return root;
}

}  // namespace

PafBuilder::PafBuilder() = default;

int PafBuilder::addRaw(int type, std::string record) {
  std::vector<std::string>& records = records_[type];
  records.push_back(std::move(record));
  if (type == paf::kMediaLinkPage) linkTexts_.emplace_back(kNoText, kNoText);
  return static_cast<int>(records.size());
}

int PafBuilder::addRecord(int type, std::string_view bytes) {
  const int size = paf::recordSize(type);
  if (size == 0) throw std::invalid_argument("PafBuilder::addRecord: not a record type");
  if (bytes.size() > static_cast<std::size_t>(size)) {
    throw std::invalid_argument("PafBuilder::addRecord: record too long");
  }
  std::string record(bytes);
  record.resize(static_cast<std::size_t>(size), '\0');
  return addRaw(type, std::move(record));
}

int PafBuilder::addIndividual() {
  std::string record(paf::kIndividualSize, '\0');
  const int number = static_cast<int>(records_[paf::kIndividualPage].size()) + 1;
  fillPattern(record, paf::kIndividualPage, number, 0, paf::kIndividualSize);
  return addRaw(paf::kIndividualPage, std::move(record));
}

int PafBuilder::addIndividual(std::string_view bytes) {
  return addRecord(paf::kIndividualPage, bytes);
}

int PafBuilder::addMarriage(std::int32_t husband, std::int32_t wife) {
  std::string record(paf::kMarriageSize, '\0');
  const int number = static_cast<int>(records_[paf::kMarriagePage].size()) + 1;
  fillPattern(record, paf::kMarriagePage, number, 0, paf::kMarriageSize);
  put32(record, paf::kMarriageHusband, husband);
  put32(record, paf::kMarriageWife, wife);
  return addRaw(paf::kMarriagePage, std::move(record));
}

int PafBuilder::addCitation(std::int32_t ownerNumber, char ownerEvent) {
  std::string record(paf::kCitationSize, '\0');
  const int number = static_cast<int>(records_[paf::kCitationPage].size()) + 1;
  fillPattern(record, paf::kCitationPage, number, 0, paf::kCitationSize);
  put32(record, paf::kCitationOwnerNumber, ownerNumber);
  record[paf::kCitationOwnerEvent] = ownerEvent;
  return addRaw(paf::kCitationPage, std::move(record));
}

int PafBuilder::addSource(std::string_view author, std::string_view title) {
  if (author.size() >= paf::kSourceAuthorSize || title.size() >= paf::kSourceTitleSize) {
    throw std::invalid_argument("PafBuilder::addSource: author or title too long");
  }
  std::string record(paf::kSourceSize, '\0');
  std::copy(author.begin(), author.end(), record.begin() + paf::kSourceAuthor);
  std::copy(title.begin(), title.end(), record.begin() + paf::kSourceTitle);
  return addRaw(paf::kSourcePage, std::move(record));
}

int PafBuilder::addMediaLink(const MediaLink& link) {
  if (link.ownerType < 0 || link.ownerType > 255) {
    throw std::invalid_argument("PafBuilder::addMediaLink: owner type is one byte");
  }
  const auto checkText = [this](TextId id) {
    if (id < 0 || static_cast<std::size_t>(id) > texts_.size()) {
      throw std::invalid_argument("PafBuilder::addMediaLink: unknown text");
    }
  };
  checkText(link.path);
  checkText(link.secondPath);
  std::string record(paf::kMediaLinkSize, '\0');
  const int number = static_cast<int>(records_[paf::kMediaLinkPage].size()) + 1;
  fillPattern(record, paf::kMediaLinkPage, number, 0, paf::kMediaLinkSize);
  put32(record, paf::kLinkOwnerNumber, link.ownerNumber);
  put32(record, paf::kLinkPathText, 0);
  put32(record, paf::kLinkSecondPathText, 0);
  record[paf::kLinkOwnerType] = static_cast<char>(link.ownerType);
  addRaw(paf::kMediaLinkPage, std::move(record));
  linkTexts_.back() = {link.path, link.secondPath};
  return number;
}

int PafBuilder::addMediaLink(int ownerType, std::int32_t ownerNumber, std::string_view path) {
  return addMediaLink(MediaLink{ownerType, ownerNumber, pathText(path), kNoText});
}

TextId PafBuilder::addText(std::string_view text, int kind, bool linked) {
  if (text.size() > paf::kMaxTextLength || text.find('\0') != std::string_view::npos) {
    throw std::invalid_argument("PafBuilder::addText: text longer than 255 bytes or with a zero");
  }
  if (kind < -128 || kind > 127) throw std::invalid_argument("PafBuilder::addText: kind is one byte");
  texts_.push_back(Text{std::string(text), kind, linked});
  return static_cast<TextId>(texts_.size());
}

TextId PafBuilder::pathText(std::string_view path) {
  const auto known = pathTexts_.find(std::string(path));
  if (known != pathTexts_.end()) return known->second;
  const TextId id = addText(path, 5);
  pathTexts_.emplace(std::string(path), id);
  return id;
}

void PafBuilder::placePages(int type, std::vector<PagePlace> places) {
  if (type < 1 || type > paf::kTypeCount || type == paf::kMapPage) {
    throw std::invalid_argument("PafBuilder::placePages: type must be 1..32 but 11");
  }
  placed_[type] = std::move(places);
}

void PafBuilder::addPages(int type, int count) {
  if (type < 1 || type > paf::kTypeCount || type == paf::kMapPage || count < 0) {
    throw std::invalid_argument("PafBuilder::addPages: type must be 1..32 but 11");
  }
  extraPages_[type] += count;
}

void PafBuilder::setMapByte(int segment, int page, std::uint8_t value) {
  // A page of a real type has to be one of its type's pages in record order: placePages.
  if (value >= 1 && value <= paf::kTypeCount) {
    throw std::invalid_argument("PafBuilder::setMapByte: 0 or 33..255; pages of a type: placePages");
  }
  mapBytes_[{segment, page}] = value;
}

void PafBuilder::setSegmentCount(int count) { segmentCount_ = count; }

void PafBuilder::setPagesUsedInLastSegment(std::int32_t pages) { pagesUsedInLastSegment_ = pages; }

void PafBuilder::setMediaLinkCount(std::int32_t count) { mediaLinkCount_ = count; }

void PafBuilder::setVersionStamp(std::string_view fourBytes) {
  if (fourBytes.size() != 4) throw std::invalid_argument("PafBuilder: version stamp is 4 bytes");
  versionStamp_ = std::string(fourBytes);
}

void PafBuilder::leaveTextRoom(int bytes) {
  if (bytes < 0 || bytes > kPageSize) throw std::invalid_argument("PafBuilder: room is 0..8192");
  textRoom_ = bytes;
}

PafImage PafBuilder::build() const {
  std::vector<int> textSizes;
  for (const Text& text : texts_) textSizes.push_back(static_cast<int>(text.bytes.size()) + paf::kTextOverhead);
  const TextPacking packing = packTexts(textSizes, textRoom_);

  std::map<int, int> needed;
  for (const auto& [type, records] : records_) {
    if (!records.empty()) needed[type] = divideRoundingUp(records.size(), paf::recordsPerPage(type));
  }
  if (packing.pagesNeeded > 0) needed[paf::kTextPage] = packing.pagesNeeded;
  for (const auto& [type, count] : extraPages_) needed[type] += count;

  std::vector<int> autoOrder = {paf::kIndividualPage, paf::kMarriagePage, paf::kCitationPage,
                                paf::kSourcePage, paf::kMediaLinkPage};
  for (const auto& entry : needed) {
    if (entry.first != paf::kTextPage &&
        std::find(autoOrder.begin(), autoOrder.end(), entry.first) == autoOrder.end()) {
      autoOrder.push_back(entry.first);
    }
  }
  autoOrder.push_back(paf::kTextPage);

  PafImage image;
  PageMap map;
  for (const auto& [place, value] : mapBytes_) claim(map, {place.first, place.second}, value);
  layOutPages(needed, placed_, autoOrder, map, image.pages_);
  const Census census = takeCensus(map, segmentCount_);
  const int lastPage = census.highestPage.back();

  // Header: the fields from the layout, a pattern in every byte readers do not interpret.
  std::string header(paf::kHeaderSize, '\0');
  for (int i = 0; i < paf::kHeaderSize; ++i) {
    if (!isHeaderField(i)) header[static_cast<std::size_t>(i)] = static_cast<char>((i * 7 + 0x5A) & 0xFF);
  }
  std::copy(versionStamp_.begin(), versionStamp_.end(), header.begin() + paf::kVersionStampOffset);
  std::copy_n("PAF", 4, header.begin() + paf::kSignatureOffset);
  put32(header, paf::kPagesUsedInLastSegmentOffset, pagesUsedInLastSegment_.value_or(lastPage + 1));
  for (int type = 1; type <= paf::kTypeCount; ++type) {
    const int field = paf::headerPageCountOffset(type);
    if (field == 0) continue;
    std::int32_t total = 0;
    for (const auto& segmentCounts : census.counts) total += segmentCounts[static_cast<std::size_t>(type - 1)];
    put32(header, field, total);  // type 11: the segment count
  }
  put32(header, paf::kTextRecordCountOffset, static_cast<std::int32_t>(texts_.size()));
  put32(header, paf::kMediaLinkCountOffset,
        mediaLinkCount_.value_or(static_cast<std::int32_t>(linkTexts_.size())));

  // Page-count table and maps.
  for (int segment = 0; segment < census.segmentCount; ++segment) {
    for (int type = 1; type <= paf::kTypeCount; ++type) {
      const std::int16_t count =
          census.counts[static_cast<std::size_t>(segment)][static_cast<std::size_t>(type - 1)];
      if (count != 0) image.patchInt16(paf::pageCountOffset(segment, type), count);
    }
    image.patchByte(paf::mapByteOffset(segment, 0), paf::kMapPage);
  }
  for (const auto& [place, value] : map) {
    if (value != 0) image.patchByte(paf::mapByteOffset(place.first, place.second), value);
  }

  // Texts: where they landed, the append position, the two trees, then the records.
  const std::vector<PagePlace>& textPages = image.pages_[paf::kTextPage];
  const auto textPageOffset = [&textPages](int index) {
    const PagePlace place = textPages[static_cast<std::size_t>(index)];
    return paf::pageOffset(place.segment, place.page);
  };
  for (const auto& [textPage, position] : packing.slots) {
    image.textOffsets_.push_back(textPageOffset(textPage) + position);
  }
  if (!textPages.empty()) {
    const std::int64_t pageStart = textPageOffset(packing.appendPage);
    put32(header, paf::kTextAppendOffsetOffset, offset32(pageStart + packing.appendPosition));
    put32(header, paf::kTextAppendEndOffset, offset32(pageStart + kPageSize));
  }

  std::vector<std::u16string> keys;
  for (const Text& text : texts_) keys.push_back(widen(text.bytes));
  // Key order: the text as 16-bit units (a prefix first), then the kind.
  const auto before = [this, &keys](std::size_t a, std::size_t b) {
    const int order = keys[a].compare(keys[b]);
    return order != 0 ? order < 0 : texts_[a].kind < texts_[b].kind;
  };
  std::vector<TreeLinks> links(texts_.size());
  for (const bool high : {false, true}) {
    std::vector<std::size_t> members;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
      if (texts_[i].linked && (texts_[i].kind >= paf::kFirstHighKind) == high) members.push_back(i);
    }
    if (members.empty()) continue;
    const std::size_t root = linkTree(std::move(members), treeShape_, before, links);
    put32(header, high ? paf::kHighKindTreeRootOffset : paf::kLowKindTreeRootOffset,
          offset32(image.textOffsets_[root]));
  }
  const auto linkOffset = [&image](std::size_t text) {
    return text == kNone ? 0 : offset32(image.textOffsets_[text]);
  };
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    const Text& text = texts_[i];
    std::string record(static_cast<std::size_t>(paf::kTextOverhead) + text.bytes.size(), '\0');
    put32(record, paf::kTextLeft, linkOffset(links[i].left));
    put32(record, paf::kTextRight, linkOffset(links[i].right));
    put32(record, paf::kTextParent, linkOffset(links[i].parent));
    record[paf::kTextKind] = static_cast<char>(text.kind);
    std::copy(text.bytes.begin(), text.bytes.end(), record.begin() + paf::kTextBytes);
    image.patch(image.textOffsets_[i], record);
  }

  // Fixed-size records, with the offsets of their texts.
  for (const auto& [type, records] : records_) {
    for (std::size_t i = 0; i < records.size(); ++i) {
      const int number = static_cast<int>(i) + 1;
      std::string record = records[i];
      if (type == paf::kMediaLinkPage) {
        const auto [path, secondPath] = linkTexts_[i];
        if (path != kNoText) put32(record, paf::kLinkPathText, offset32(image.textOffset(path)));
        if (secondPath != kNoText) {
          put32(record, paf::kLinkSecondPathText, offset32(image.textOffset(secondPath)));
        }
      }
      image.patch(image.recordOffset(type, number), record);
    }
  }

  image.patch(0, header);
  // The file ends with the last page in use of the last segment.
  image.truncate(std::max(image.size(), paf::pageOffset(census.segmentCount - 1, lastPage + 1)));
  return image;
}

}  // namespace corvane::testing
