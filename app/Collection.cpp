// Collecting the media references of the open database into the three lists, rewriting stored
// paths under the database folder into the ".\" form, and the two path conversions.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/Packer.h"
#include "database/PAFDatabase.h"
#include "media/FileList.h"
#include "platform/Cp1252.h"
#include "platform/File.h"

namespace {

// A list under construction starts as the empty marker alone.
FileList* newList() { return new FileList(FileList::kEmptyMarker); }

// The finished list: its entries without the marker, null when it has none.
FileList* finished(FileList* list) {
  FileList* rest = list->withoutEmptyMarker();
  if (rest != list) delete list;
  return rest;
}

void appendEntry(FileList* list, const char* path) { list->append(new FileList(path)); }

void appendMissing(FileList* list, const char* path, int linkNumber, const MediaLinkRecord& link) {
  FileList* entry = new FileList(path);
  entry->setOwner(linkNumber, link.ownerNumber, link.ownerType);
  list->append(entry);
}

}  // namespace

void TForm1::collectMediaFiles() {
  missingList = newList();
  outsideList = newList();
  foundList = newList();
  Memo1->setText("");
  pathsRewritten = false;

  const std::size_t folderLength = databaseFolder.size();
  MediaLinkRecord link;
  TextRecord text;
  // mediaLinkCount comes from the file: numbers above the last one with a page cannot be read,
  // and a count of 2^31 - 1 must neither keep the run busy for minutes nor overflow n.
  const int linkCount = database->header.mediaLinkCount;  // a copy: the header is packed
  const int lastLink = std::min(linkCount, database->MediaLinkSlots());
  for (int n = 1; n <= lastLink; ++n) {
    if (!database->ReadMediaLink(&link, n) || link.ownerType == 0 || link.pathText == 0) continue;

    const char* stored = database->GetText(link.pathText, &text);
    if (stored == nullptr || *stored == '\0') continue;
    const std::string p = stored;  // the scratch record is reused below

    if (platform::fileExists(databaseFolder + p)) {
      appendEntry(foundList, p.c_str());
    } else if (!platform::fileExists(p)) {
      appendMissing(missingList, p.c_str(), n, link);
      continue;  // the second path is not looked at
    } else if (folderLength > 0 && p.compare(0, folderLength, databaseFolder) == 0) {
      // An absolute path under the database folder: store it as ".\" + the rest. The file
      // goes into no list in this pass; the caller collects again.
      const std::string r = "." + p.substr(folderLength - 1);
      int position = 0;
      const std::u16string key = platform::ansiToWideText(r);
      const int found = database->FindText(key.c_str(), 5, &text, &position);
      int target = found;
      if (found < 1) {
        std::memset(&text, 0, sizeof text);
        std::memcpy(text.text, r.data(), std::min(r.size(), sizeof text.text - 1));
        target = r.size() < sizeof text.text ? database->AddTextRecord(&text, 5, position) : 0;
      }
      // A text that could not be stored leaves the record as it was.
      if (target > 0) {
        link.pathText = target;
        database->WriteMediaLink(&link, n);
      }
      pathsRewritten = true;
    } else {
      appendEntry(foundList, p.c_str());
      appendEntry(outsideList, p.c_str());
    }

    if (link.secondPathText == 0) continue;
    const char* second = database->GetText(link.secondPathText, &text);
    if (second == nullptr || *second == '\0') continue;
    const std::string q = second;
    if (platform::fileExists(databaseFolder + q)) {
      appendEntry(foundList, q.c_str());
    } else if (platform::fileExists(q)) {
      appendEntry(foundList, q.c_str());
      appendEntry(outsideList, q.c_str());
    } else {
      appendMissing(missingList, q.c_str(), n, link);
    }
  }

  missingList = finished(missingList);
  FileList::setDatabase(database);
  outsideList = finished(outsideList);
  foundList = finished(foundList);
}

Str TForm1::fullPathOf(const char* storedPath) const {
  const Str s(storedPath);
  if (s.charAt(1) == ':') return s;
  if (s.charAt(0) == '.' && s.charAt(1) == '\\') return Str(databaseFolder.c_str()) + s.from(2);
  return Str(databaseFolder.c_str()) + s;
}

Str TForm1::fullPathOf(const Str& storedPath) const { return fullPathOf(storedPath.cStr()); }

// The comparison with the database folder ignores letter case here, unlike the rewrite of the
// collection.
Str TForm1::storedFormOf(const Str& fullPath) const {
  const int folderLength = static_cast<int>(databaseFolder.size());
  const Str head = fullPath.left(folderLength);
  if (platform::ansiToLower(head.cStr()) == platform::ansiToLower(databaseFolder)) {
    return Str(".\\") + fullPath.from(folderLength);
  }
  return fullPath;
}
