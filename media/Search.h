#pragma once
// The breadth-first search of the disks for missing media files.
#include <cstdint>

#include "media/FileList.h"
#include "text/Str.h"

// Reads the folders of the found files level by level, then the drive root of the first one and
// the further drives the user named, and offers every file met to missingList->repairFromFile.
// REQUIRES: both lists exist; foundList has at least one entry.
//
// Progress: Form1->Label3's caption follows every entry examined (its path and 24 blanks). The
// label is repainted for the first entry, then whenever at least kProgressRepaintMs passed on
// the search clock since its last repaint, and once more, when its caption changed since, before
// a message box and at the end of the search; a screen cannot show more, and a repaint per entry
// would cost more than the reading.
void searchForMissingFiles(FileList* missingList, FileList* foundList);

// The full path of the entry's stored path up to and including its last "\", ":" or "/"; the
// empty text when it has none.
Str folderOf(const FileList& entry);

inline constexpr std::int64_t kProgressRepaintMs = 40;

// The clock that paces the repaints: milliseconds from any fixed start, never going back. The
// one time source of the search; tests install their own to make the repaints predictable.
using SearchClock = std::int64_t (*)();
// Installs the clock (nullptr: the system's steady clock); returns the one it replaces.
SearchClock setSearchClock(SearchClock clock);
