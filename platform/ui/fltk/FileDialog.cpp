#include "platform/ui/fltk/FileDialog.h"

#include <FL/Fl_Native_File_Chooser.H>

#include <string>

#include "platform/File.h"
#include "platform/WinPath.h"
#include "platform/ui/fltk/DisplayText.h"
#include "platform/ui/fltk/Dispatch.h"
#include "platform/ui/fltk/FileFilter.h"
#include "platform/ui/fltk/MessageBox.h"

namespace ui::fltk {
namespace {

// The titles a dialog without its own title shows.
constexpr const char* kOpenTitle = "Open";
constexpr const char* kSaveTitle = "Save As";
constexpr const char* kCannotName =
    "This file cannot be used: no drive holds its folder, or its name has characters that a Windows file name "
    "cannot take.";

std::string titleOf(const vcl::TOpenDialog& dialog) {
  if (!dialog.title().empty()) return dialog.title();
  return dialog.isSaveDialog() ? kSaveTitle : kOpenTitle;
}

// Where the chooser opens: the folder of the dialog's file name when it has one (as a Windows
// dialog does), else the initial folder; the file name preset there unless it is a pattern.
// Nothing is set for a folder no drive holds, and the chooser opens where it likes.
void placeChooser(Fl_Native_File_Chooser& chooser, const vcl::TOpenDialog& dialog) {
  const WindowsPathParts parts = splitWindowsPath(dialog.fileName());
  const std::string& folder = parts.folder.empty() ? dialog.initialDir() : parts.folder;
  std::optional<std::string> hostFolder;
  if (!folder.empty()) hostFolder = platform::toHostPath(folder);
  if (hostFolder) chooser.directory(hostFolder->c_str());
  // A name with wildcards filters the list on Windows; here the filter does that.
  if (parts.name.empty() || parts.name.find_first_of("*?") != std::string::npos) return;
  // FLTK's own chooser takes a preset name relative to the process's folder, so it gets the
  // whole host path where the folder is known.
  const std::string name = toDisplay(parts.name);
  const std::string preset = hostFolder ? (hostFolder->back() == '/' ? *hostFolder : *hostFolder + "/") + name : name;
  chooser.preset_file(preset.c_str());
}

// The chosen host file as the model's Windows path, with the default extension where the name
// has none; nullopt when it cannot be named.
std::optional<std::string> windowsPathOf(const char* hostPath, const vcl::TOpenDialog& dialog) {
  std::optional<std::string> path = platform::toWindowsPath(hostPath);
  if (!path) return std::nullopt;
  const std::string extension = defaultExtension(dialog.defaultExt());
  if (!extension.empty() && splitWindowsPath(*path).name.find('.') == std::string::npos) *path += "." + extension;
  return path;
}

// The chooser's filter in force as the model's 1-based index; the dialog's own when the user
// chose one the model does not know (FLTK adds "All Files").
int filterIndexOf(const Fl_Native_File_Chooser& chooser, const vcl::TOpenDialog& dialog) {
  const int index = chooser.filter_value() + 1;
  return index >= 1 && index <= filterCount(dialog.filter()) ? index : dialog.filterIndex();
}

}  // namespace

std::optional<vcl::FileDialogChoice> runFileDialog(const vcl::TOpenDialog& dialog) {
  const std::string title = titleOf(dialog);
  const std::string displayTitle = toDisplay(title);
  const std::string filter = toFltkFilter(dialog.filter());
  Fl_Native_File_Chooser chooser(dialog.isSaveDialog() ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                                                       : Fl_Native_File_Chooser::BROWSE_FILE);
  chooser.title(displayTitle.c_str());
  if (dialog.isSaveDialog()) chooser.options(Fl_Native_File_Chooser::NEW_FOLDER);
  if (!filter.empty()) {
    chooser.filter(filter.c_str());
    const int count = filterCount(dialog.filter());
    const int index = dialog.filterIndex();
    chooser.filter_value(index >= 1 && index <= count ? index - 1 : 0);
  }
  placeChooser(chooser, dialog);

  for (;;) {
    const int shown = chooser.show();
    rethrowPending();
    if (shown != 0 || chooser.filename() == nullptr || chooser.filename()[0] == '\0') return std::nullopt;
    const std::string host = chooser.filename();
    const std::optional<std::string> path = windowsPathOf(host.c_str(), dialog);
    if (!path) {
      // The path itself may be what 1252 cannot hold; it is shown only when it can be.
      const std::optional<std::string> shownPath = fromDisplay(host);
      runMessageBox((shownPath ? *shownPath + "\n" : std::string()) + kCannotName, title, vcl::MB_OK);
      continue;
    }
    if (!dialog.isSaveDialog() && (dialog.options() & vcl::ofFileMustExist) != 0 && !platform::fileExists(*path)) {
      runMessageBox(*path + "\nFile not found.\nPlease verify the correct file name was given.", title, vcl::MB_OK);
      continue;
    }
    if (dialog.isSaveDialog() && (dialog.options() & vcl::ofOverwritePrompt) != 0 && platform::fileExists(*path) &&
        runMessageBox(*path + " already exists.\nDo you want to replace it?", title, vcl::MB_OKCANCEL) != vcl::IDOK) {
      continue;
    }
    return vcl::FileDialogChoice{*path, filterIndexOf(chooser, dialog)};
  }
}

}  // namespace ui::fltk
