#pragma once
// The texts built from media file lists: the plain listing of a list (shown in the main window,
// written to the listing file and to the archive's name list), the missing files with a
// description of the database record that references each one, and the file-name pattern of
// the missing files that the guided search puts into its file dialog.
//
// The descriptions read marriage, citation and source records through the database that
// FileList::setDatabase set. A record that cannot be read (no database set, a number that names
// no record, a short read) counts as all zero bytes. No function here reports an error.
// Numbers are written in decimal, with a leading "-" when negative.

#include <cstdint>

#include "text/Str.h"

class FileList;

// The paths of the list. A list of one entry gives its path with no line end after it, or the
// empty text when that entry is the empty marker "--"; a list of two or more entries gives
// every path in list order, each followed by "\n" (the last one too). A null list (no entries)
// gives the empty text.
Str listText(const FileList* list);

// For every entry in list order: its path, "\n", and its referenceText. The empty marker alone
// gives "--\n;\n". A null list gives the empty text.
Str missingText(const FileList* list);

// The description of the record that references the entry's file, by the entry's ownerType
// (100 individual, 102 marriage, 129 source, 131, 132 citation; any other code describes
// nothing), always ending in ";\n".
Str referenceText(const FileList& entry);

// Who the marriage with this MRIN belongs to: the husband when one is linked, else the wife,
// else a note that neither is linked, or a note that the record could not be read. Begins
// with "\n".
Str marriageText(std::int32_t mrin);

// The entry's path from its last "." (included) to the end, searching the whole path, folders
// included; the empty text when the path has no ".". Taken whole, however long.
Str extensionOf(const FileList& entry);

// The distinct extensions of the list's entries in list order, as "*.jpg;*.tif". An extension
// counts as present when it occurs anywhere in the pattern built so far as a plain piece of
// text (letter case counting), so ".tif" after ".tiff" adds nothing. Entries without extension
// add nothing. A null list gives the empty text.
Str extensionPattern(const FileList* list);
