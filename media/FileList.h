#pragma once
// FileList: one entry of a singly linked chain of paths. A list is handled through a pointer to
// its first entry, and every operation is called on that first entry. The main window keeps
// foundList, missingList and outsideList this way; the missing-file search keeps its folder
// queues the same way.
//
// What stays true of a list:
// - Entries keep the order in which they were added; append adds at the end, only insertPath
//   places an entry elsewhere. The same path may stand in a list any number of times.
// - The path "--" is the empty marker: a list made of the marker alone has no entries. It stands
//   first in a list under construction, and is what remains when the last entry is removed.
// - The first entry owns the rest of the chain: destroying it destroys every entry after it.
// - The first entry stays the same object while the list is in use (the main window holds a
//   pointer to it): removing it moves the second entry's fields into it instead.
// - Path comparisons are exact, byte for byte, letter case included.

#include <cstdint>

#include "text/Str.h"

class CPAFDatabase;

class FileList {
 public:
  static constexpr const char* kEmptyMarker = "--";

  // An entry holding the path, without following entry, owner fields 0. Made on the heap and
  // handed to a list with append, or kept as a list of one.
  explicit FileList(const char* text);
  // Destroys this entry and every entry after it, however long the chain.
  ~FileList();
  FileList(const FileList&) = delete;
  FileList& operator=(const FileList&) = delete;

  void setPath(const char* text);
  // Which multimedia link record the entry came from, and the owner of that record.
  void setOwner(std::int32_t linkRecordNumber, std::int32_t ownerRecordNumber,
                std::uint8_t ownerTypeCode);

  // Links the entry (a single one or a whole chain) after the last entry; the list takes
  // ownership. No test for duplicates is made. Costs constant time per appended entry: the list
  // remembers where its chain ends rather than walking it.
  void append(FileList* entry);

  // False only for the empty marker alone.
  bool hasEntries() const;

  // When the first entry is the empty marker: detaches it from the rest and returns the entry
  // after it (null when there is none); the marker entry stays the caller's to destroy.
  // Otherwise returns this list.
  FileList* withoutEmptyMarker();

  // Whether any entry, the first included, has exactly this path.
  bool contains(const char* text) const;

  // Inserts a new entry holding the text directly after the first entry N, walking from the
  // first, whose path is shorter than the text or sorts before it in unsigned byte order. Meeting
  // an entry equal to the text first, or reaching the end, inserts nothing: the text is never
  // appended at the end, and the first entry is never displaced.
  void insertPath(const char* text);

  // Removes `entry` from this list, keeping the first entry in place. `previous` is the entry
  // before it, null when `entry` is this first entry. The first entry takes over the second
  // entry's path, owner fields and following entry; a first entry without following entry
  // becomes the empty marker with owner fields 0. Returns where a walk over the list goes on:
  // the entry now standing in `entry`'s place (this first entry again when it took over the
  // second), or null at the end of the list and when the list became the empty marker.
  // Code that unlinks entries goes through here, so that the list's end stays known to append.
  FileList* removeEntry(FileList* previous, FileList* entry);

  // The link repair, called on missingList with the full path of a file that exists (Windows
  // form, code page 1252). Every entry whose path has the file's name (fileNameOf, letter case
  // counting), and whose link record's first path text has that name too, gets its link record
  // pointed at a kind-5 text holding the new path: an existing text holding the full path or
  // its stored form, else a new one holding the stored form (the full path when
  // Form1->normalizePaths is off). The record is written back, Form1->linksChanged is set and
  // the entry leaves the list (removeEntry). Entries of other names, and entries whose record
  // names another file, stay as they are. A new text that cannot be stored (longer than 255
  // bytes, or the database could not take it) leaves the record unwritten and the entry in
  // the list; so does a record that could not be written. Nothing is shown.
  // REQUIRES: Form1 exists; setDatabase was given the open database (without one nothing is
  // repaired).
  void repairFromFile(const char* filePath);

  // The open database that the report texts and the link repair read through. Class-wide,
  // shared by all lists, not owned.
  static void setDatabase(CPAFDatabase* database);
  static CPAFDatabase* database();

  // Field order is part of the type: next, path, ownerType, ownerRecord, linkRecord.
  FileList* next;            // owned; null at the last entry
  Str path;                  // stored path of a media file, or a folder path in the search queues
  std::uint8_t ownerType;    // of the link record: 100 individual, 102 marriage, 129 source,
                             // 131 and 132 citation; read unsigned
  std::int32_t ownerRecord;  // RIN, MRIN, source or citation number of that owner
  std::int32_t linkRecord;   // number of the multimedia link record

 private:
  // Kept by a list's first entry only: an entry of the chain from which the end is reached in a
  // few steps, or null (then append walks from the first entry once). Every member that unlinks
  // entries keeps it pointing into the chain; an entry that stops being first drops it.
  FileList* lastHint_;
};
