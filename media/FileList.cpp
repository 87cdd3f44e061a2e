#include "media/FileList.h"

#include <cstring>

namespace {
CPAFDatabase* g_database = nullptr;

int textLength(const char* text) { return text == nullptr ? 0 : static_cast<int>(std::strlen(text)); }
}  // namespace

FileList::FileList(const char* text)
    : next(nullptr), path(text), ownerType(0), ownerRecord(0), linkRecord(0), lastHint_(nullptr) {}

// Iterative, so that a list of any length is destroyed without deep recursion.
FileList::~FileList() {
  FileList* rest = next;
  next = nullptr;
  while (rest != nullptr) {
    FileList* after = rest->next;
    rest->next = nullptr;
    delete rest;
    rest = after;
  }
}

void FileList::setPath(const char* text) { path = text; }

void FileList::setOwner(std::int32_t linkRecordNumber, std::int32_t ownerRecordNumber,
                        std::uint8_t ownerTypeCode) {
  linkRecord = linkRecordNumber;
  ownerRecord = ownerRecordNumber;
  ownerType = ownerTypeCode;
}

void FileList::append(FileList* entry) {
  if (entry == nullptr) return;
  FileList* last = lastHint_ != nullptr ? lastHint_ : this;
  while (last->next != nullptr) last = last->next;
  last->next = entry;

  // The appended chain's own hint (when it was a list of its own) leads to the new end; it is
  // dropped there, since that entry is no longer first.
  last = entry->lastHint_ != nullptr ? entry->lastHint_ : entry;
  entry->lastHint_ = nullptr;
  while (last->next != nullptr) last = last->next;
  lastHint_ = last;
}

bool FileList::hasEntries() const {
  if (next != nullptr) return true;
  return path.compare(kEmptyMarker) != 0;
}

FileList* FileList::withoutEmptyMarker() {
  if (path.compare(kEmptyMarker) != 0) return this;
  FileList* rest = next;
  next = nullptr;
  if (rest != nullptr) rest->lastHint_ = lastHint_ == this ? nullptr : lastHint_;
  lastHint_ = nullptr;
  return rest;
}

bool FileList::contains(const char* text) const {
  for (const FileList* entry = this; entry != nullptr; entry = entry->next) {
    if (entry->path.compare(text) == 0) return true;
  }
  return false;
}

void FileList::insertPath(const char* text) {
  const int length = textLength(text);
  for (FileList* entry = this; entry != nullptr; entry = entry->next) {
    bool accept = entry->path.size() < length;
    if (!accept) {
      // Byte order of unsigned bytes; a text that begins the other sorts first.
      const int order = entry->path.compare(text);
      if (order == 0) return;
      accept = order < 0;
    }
    if (accept) {
      FileList* inserted = new FileList(text);
      inserted->next = entry->next;
      entry->next = inserted;
      return;
    }
  }
}

FileList* FileList::removeEntry(FileList* previous, FileList* entry) {
  if (entry == nullptr) return nullptr;
  if (previous == nullptr && entry == this) {
    FileList* second = next;
    if (second == nullptr) {
      path = kEmptyMarker;
      setOwner(0, 0, 0);
      lastHint_ = nullptr;
      return nullptr;
    }
    path = second->path;
    setOwner(second->linkRecord, second->ownerRecord, second->ownerType);
    next = second->next;
    second->next = nullptr;
    if (lastHint_ == second) lastHint_ = this;
    delete second;
    return this;
  }
  if (previous == nullptr || previous->next != entry) return nullptr;  // not linked there
  previous->next = entry->next;
  entry->next = nullptr;
  if (lastHint_ == entry) lastHint_ = previous;
  FileList* following = previous->next;
  delete entry;
  return following;
}

void FileList::setDatabase(CPAFDatabase* database) { g_database = database; }

CPAFDatabase* FileList::database() { return g_database; }
