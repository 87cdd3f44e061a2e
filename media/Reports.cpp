#include "media/Reports.h"

#include <charconv>
#include <cstring>
#include <iterator>

#include "database/PAFDatabase.h"
#include "media/FileList.h"

namespace {

// Owner type codes of multimedia link records, as the link record stores them (unsigned).
constexpr unsigned kOwnerIndividual = 100;
constexpr unsigned kOwnerMarriage = 102;
constexpr unsigned kOwnerSource = 129;
constexpr unsigned kOwnerUnread = 131;
constexpr unsigned kOwnerCitation = 132;

constexpr const char* kDescriptionEnd = ";\n";

// "%d": decimal, a leading "-" when negative.
void appendNumber(Str& text, std::int32_t number) {
  char digits[12];  // "-2147483648" and room to spare
  const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
  text += Str(digits, static_cast<int>(result.ptr - digits));
}

// A zero-terminated text in a fixed field of a record. A damaged record may fill the field
// without terminator; the text then ends with the field and never runs into what follows.
Str fieldText(const char* field, std::size_t fieldSize) {
  const void* end = std::memchr(field, 0, fieldSize);
  const std::size_t length =
      end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : fieldSize;
  return Str(field, static_cast<int>(length));
}

// The record `number`, or all zero bytes when there is no database or it cannot be read.
template <typename Record>
bool readRecord(Record* record, std::int32_t number, bool (CPAFDatabase::*read)(Record*, int)) {
  CPAFDatabase* database = FileList::database();
  const bool ok = database != nullptr && (database->*read)(record, number);
  if (!ok) std::memset(static_cast<void*>(record), 0, sizeof(Record));
  return ok;
}

void appendSourceDescription(Str& text, std::int32_t sourceNumber) {
  SourceRecord source;
  readRecord(&source, sourceNumber, &CPAFDatabase::ReadSource);
  text += " referenced from a Source record with\n Author: ";
  text += fieldText(source.author, sizeof source.author);
  text += "\n Title: ";
  text += fieldText(source.title, sizeof source.title);
  text += "\n";
}

// What a citation's ownerEvent letter says about its owner. The letters are matched exactly,
// upper case only.
struct CitationEvent {
  char letter;
  const char* text;    // followed by the citation's ownerNumber
  bool namesMarriage;  // then by marriageText of that number
};

constexpr CitationEvent kCitationEvents[] = {
    {'A', "  referenced from the citation\n  on the baptism event of Rin: ", false},
    {'B', "  referenced from the citation\n  on the birth event of Rin: ", false},
    {'D', "  referenced from the citation\n  on the death event of Rin: ", false},
    {'E', "  referenced from the citation\n  on the endow event of MRin: ", false},
    {'G', "  referenced from the citation\n  on the marriage event of MRin: ", true},
    {'I', "  referenced from the 'sources'\n  button for Rin: ", false},
    {'M', "  referenced from the 'sources'\n  button for MRin: ", true},
    {'R', "  referenced from the citation\n  on the burial event of Rin: ", false},
    {'S', "  referenced from the citation\n  on the marriage event of MRin: ", true},
};

void appendCitationDescription(Str& text, std::int32_t citationNumber) {
  CitationRecord citation;
  readRecord(&citation, citationNumber, &CPAFDatabase::ReadCitation);
  for (const CitationEvent& event : kCitationEvents) {
    if (event.letter != citation.ownerEvent) continue;
    text += event.text;
    appendNumber(text, citation.ownerNumber);
    if (event.namesMarriage) text += marriageText(citation.ownerNumber);
    return;
  }
  text += "referenced from a citation record\n with unknown owner_type: ";
  // A zero byte appended to a Str would count in its length; a zero letter adds nothing.
  if (citation.ownerEvent != '\0') text += citation.ownerEvent;
}

}  // namespace

Str listText(const FileList* list) {
  if (list == nullptr) return Str("");
  if (list->next == nullptr) {
    return list->path.compare(FileList::kEmptyMarker) == 0 ? Str("") : list->path;
  }
  Str text("");
  for (const FileList* entry = list; entry != nullptr; entry = entry->next) {
    text += entry->path;
    text += "\n";
  }
  return text;
}

Str missingText(const FileList* list) {
  Str text("");
  for (const FileList* entry = list; entry != nullptr; entry = entry->next) {
    text += entry->path;
    text += "\n";
    text += referenceText(*entry);
  }
  return text;
}

Str referenceText(const FileList& entry) {
  Str text("");
  switch (static_cast<unsigned>(entry.ownerType)) {
    case kOwnerIndividual:
      text += " referenced from Rin ";
      appendNumber(text, entry.ownerRecord);
      break;
    case kOwnerMarriage:
      text += " referenced from MRin ";
      appendNumber(text, entry.ownerRecord);
      break;
    case kOwnerSource:
      appendSourceDescription(text, entry.ownerRecord);
      break;
    case kOwnerUnread:
      // The code 131 is reported under the number 132; listing files carry this text as is.
      text += "referenced with owner type = 132\n ";
      break;
    case kOwnerCitation:
      appendCitationDescription(text, entry.ownerRecord);
      break;
    default:
      break;
  }
  text += kDescriptionEnd;
  return text;
}

Str marriageText(std::int32_t mrin) {
  MarriageRecord marriage;
  Str text("");
  if (!readRecord(&marriage, mrin, &CPAFDatabase::ReadMarriage)) {
    text += "\n  mrin lookup failed on MRin: ";
    appendNumber(text, mrin);
  } else if (marriage.husband != 0) {
    text += "\n  where the husband is Rin: ";
    appendNumber(text, marriage.husband);
  } else if (marriage.wife != 0) {
    text += "\n  where the wife is Rin: ";
    appendNumber(text, marriage.wife);
  } else {
    text += "\n  no husband or wife link for MRin: ";
    appendNumber(text, mrin);
  }
  return text;
}

Str extensionOf(const FileList& entry) {
  const int dot = entry.path.findLast('.');
  return dot < 0 ? Str("") : entry.path.from(dot);
}

Str extensionPattern(const FileList* list) {
  Str pattern("");
  for (const FileList* entry = list; entry != nullptr; entry = entry->next) {
    const Str extension = extensionOf(*entry);
    // The empty extension occurs in every pattern, so entries without "." add nothing.
    if (extension.size() == 0 || pattern.find(extension.cStr()) >= 0) continue;
    pattern += ";*";
    pattern += extension;
  }
  return pattern.from(1);
}
