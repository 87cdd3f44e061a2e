#pragma once
// The file-open and save-file dialogs on FLTK's native file chooser (the desktop's own where
// FLTK can reach it, FLTK's otherwise). The dialog speaks host paths; the model speaks Windows
// paths: the initial folder and file name go out through the drive map, the chosen file comes
// back through it.
#include <optional>

#include "platform/vcl/Backend.h"
#include "platform/vcl/Dialogs.h"

namespace ui::fltk {

// Shows the dialog and waits. Asks again, with a message box, when the chosen file cannot be
// named as a Windows path (no drive holds it, or its name has no code page 1252 form), when a
// file-open dialog with ofFileMustExist gets a file that does not exist, and, with
// ofOverwritePrompt, before a save-file dialog names an existing file.
std::optional<vcl::FileDialogChoice> runFileDialog(const vcl::TOpenDialog& dialog);

}  // namespace ui::fltk
