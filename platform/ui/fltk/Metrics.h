#pragma once
// How the forms' Windows measures map onto FLTK. A form's bounds are the outer size and place
// of a Windows window (frame, caption bar and menu bar included) with the classic look at 96
// dots per inch; an FLTK window is its client area only, and the window manager draws the
// frame. Controls are placed relative to the form's client area, which on Windows starts
// below the menu bar; in FLTK the menu bar is a widget inside the window, so everything below
// it moves down by its height.
#include <FL/Enumerations.H>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

namespace ui::fltk {

// The frame a border style gives (GetSystemMetrics of the classic look): the width of each
// side and the caption bar's height.
struct WindowFrame {
  int side = 0;
  int caption = 0;
};
WindowFrame frameOf(vcl::TBorderStyle style);

constexpr int kMenuBarHeight = 19;  // SM_CYMENU

// The client size of a form whose outer size is width x height, the menu bar included; and
// back again.
struct ClientSize {
  int width = 0;
  int height = 0;
};
ClientSize clientSizeOf(const vcl::TForm& form);
vcl::Bounds outerBoundsFor(const vcl::TForm& form, int clientWidth, int clientHeight);

// The face of a form's font. The forms are drawn in 8-point "MS Sans Serif" (11 pixels);
// FLTK gets a sans-serif face of the same metrics class where the system has one, so that
// captions sized for that face fit their controls.
struct Face {
  Fl_Font font = FL_HELVETICA;
  Fl_Fontsize size = 11;
};
Face faceOf(const vcl::TFont& font);

// Registers the faces with FLTK; once, before the first window.
void registerFaces();

}  // namespace ui::fltk
