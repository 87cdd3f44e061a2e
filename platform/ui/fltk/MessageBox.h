#pragma once
// The message box: a small modal window with the caption as its title, the text, and OK or OK
// and Cancel, without an icon, centred on the screen (it has no owner window).
#include <string>

namespace ui::fltk {

// Shows the box and waits; returns vcl::IDOK or vcl::IDCANCEL. Enter presses OK; Escape and
// the close box answer Cancel, or OK when that is the only button.
int runMessageBox(const std::string& text, const std::string& caption, unsigned buttons);

}  // namespace ui::fltk
