#pragma once
// The settings of a file dialog in the forms FLTK's file chooser takes. No FLTK here: these are
// plain text rules, kept apart so that they can be checked without a display.
#include <string>
#include <string_view>

namespace ui::fltk {

// A dialog filter "Description|pattern|Description|pattern..." as FLTK's chooser takes it:
// one "Description\tpattern" line per pair, lines joined by "\n", in UTF-8. Several patterns of
// one pair ("*.jpg;*.gif") become one alternative "{*.jpg,*.gif}". Only "*" and "?" are
// wildcards in a dialog filter; every character FLTK's matcher would read otherwise ("[", "]",
// "{", "}", ",", "\") is escaped, so a filter naming one file ("photo[1].jpg") matches that
// file. A description without a pattern after it is dropped.
std::string toFltkFilter(std::string_view filter);

// How many description/pattern pairs the filter holds (what a filter index counts).
int filterCount(std::string_view filter);

// The extension a dialog appends to a name typed without one, from its default extension:
// ".paf" and "*.txt" give "paf" and "txt"; empty when there is nothing to append.
std::string defaultExtension(std::string_view defaultExt);

// A Windows path split at its last separator ("\", "/" or the drive's ":"): the folder part
// keeps the separator ("C:\Family\" and "smith.paf"); a bare name has an empty folder.
struct WindowsPathParts {
  std::string folder;
  std::string name;
};
WindowsPathParts splitWindowsPath(std::string_view path);

}  // namespace ui::fltk
