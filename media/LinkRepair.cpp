// The link repair: re-pointing the multimedia link records of missing files at the path of a
// file found elsewhere, in the database file itself.
#include "media/LinkRepair.h"

#include <cstring>
#include <string>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "platform/Cp1252.h"

namespace {

std::string_view viewOf(const Str& text) {
  return {text.cStr(), static_cast<std::size_t>(text.size())};
}

bool hasName(std::string_view path, std::string_view name) { return fileNamePart(path) == name; }

// Offset of the kind-5 text holding exactly `text`, or what FindText answers (0 or below) when
// there is none; `position` as FindText leaves it.
int findPathText(CPAFDatabase& db, const Str& text, TextRecord* scratch, int* position) {
  const std::u16string key = platform::ansiToWideText(viewOf(text));
  return db.FindText(key.c_str(), paf::kMediaPathKind, scratch, position);
}

// The text record a link to the file at fullPath is to point at: an existing text holding the
// full path, else one holding its stored form, else a new one. 0 when a new text was needed
// and could not be stored. A text just added is not linked into the text tree, so the next
// call does not find it and adds a text of its own.
int pathTextFor(CPAFDatabase& db, const Str& fullPath) {
  TextRecord scratch;
  int position = 0;  // where a new text goes below in the tree; kept over both look-ups
  const int exact = findPathText(db, fullPath, &scratch, &position);
  if (exact > 0) return exact;
  const Str stored = Form1->storedFormOf(fullPath);
  const int simplified = findPathText(db, stored, &scratch, &position);
  if (simplified > 0) return simplified;

  const Str& text = Form1->normalizePaths ? stored : fullPath;
  if (text.size() > paf::kMaxStoredText) return 0;  // no text record holds it
  std::memset(scratch.text, 0, sizeof scratch.text);
  std::memcpy(scratch.text, text.cStr(), static_cast<std::size_t>(text.size()));
  return db.AddTextRecord(&scratch, paf::kMediaPathKind, position);
}

}  // namespace

std::string_view fileNamePart(std::string_view path) {
  const std::size_t last = path.find_last_of("\\:/");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

Str fileNameOf(const Str& path) {
  const std::string_view name = fileNamePart(viewOf(path));
  return Str(name.data(), static_cast<int>(name.size()));
}

void FileList::repairFromFile(const char* filePath) {
  CPAFDatabase* const db = database();
  const Str fullPath(filePath);
  const std::string_view name = fileNamePart(viewOf(fullPath));
  // A path ending in a separator names no file; with an empty name it would match every
  // record whose path text cannot be read.
  if (db == nullptr || Form1 == nullptr || name.empty() || !hasEntries()) return;

  FileList* previous = nullptr;
  FileList* entry = this;
  while (entry != nullptr) {
    bool repaired = false;
    if (hasName(viewOf(entry->path), name)) {
      MediaLinkRecord link;
      if (!db->ReadMediaLink(&link, entry->linkRecord)) std::memset(&link, 0, sizeof link);
      TextRecord text;
      const char* const current = db->GetText(link.pathText, &text);
      // Only the record's first path is ever re-pointed, and only when it names this file.
      if (hasName(current == nullptr ? std::string_view() : std::string_view(current), name)) {
        const int target = pathTextFor(*db, fullPath);
        if (target > 0) {
          link.pathText = target;
          // A link that did not reach the file is not repaired: its entry stays missing. The
          // database refuses every later write, and the run tells the user.
          if (db->WriteMediaLink(&link, entry->linkRecord)) {
            Form1->linksChanged = true;
            repaired = true;
          }
        }
      }
    }
    if (repaired) {
      entry = removeEntry(previous, entry);  // keeps this first entry in place
    } else {
      previous = entry;
      entry = entry->next;
    }
  }
}
