#include "platform/ui/fltk/Metrics.h"

#include <FL/Fl.H>

#include <cstdlib>

namespace ui::fltk {
namespace {

constexpr int kSizingFrame = 4;  // SM_CXSIZEFRAME
constexpr int kFixedFrame = 3;   // SM_CXFIXEDFRAME
constexpr int kCaption = 19;     // SM_CYCAPTION

// A face with the metrics of the Windows sans-serif faces; fontconfig gives the closest one
// installed (Liberation Sans, Arimo, Nimbus Sans) and plain "sans" when none is.
constexpr Fl_Font kFormFace = FL_FREE_FONT;
constexpr const char* kFormFaceName = " Liberation Sans";  // leading blank: regular weight

}  // namespace

WindowFrame frameOf(vcl::TBorderStyle style) {
  switch (style) {
    case vcl::bsNone: return {0, 0};
    case vcl::bsSingle:
    case vcl::bsDialog: return {kFixedFrame, kCaption};
    case vcl::bsSizeable: return {kSizingFrame, kCaption};
  }
  return {kSizingFrame, kCaption};
}

ClientSize clientSizeOf(const vcl::TForm& form) {
  const WindowFrame frame = frameOf(form.borderStyle());
  return {form.width() - 2 * frame.side, form.height() - 2 * frame.side - frame.caption};
}

vcl::Bounds outerBoundsFor(const vcl::TForm& form, int clientWidth, int clientHeight) {
  const WindowFrame frame = frameOf(form.borderStyle());
  return {form.left(), form.top(), clientWidth + 2 * frame.side, clientHeight + 2 * frame.side + frame.caption};
}

Face faceOf(const vcl::TFont& font) {
  // A negative height is the character height in pixels, a positive one the cell height; FLTK's
  // size is the former.
  const int pixels = std::abs(font.height);
  return {kFormFace, static_cast<Fl_Fontsize>(pixels > 0 ? pixels : 11)};
}

void registerFaces() { Fl::set_font(kFormFace, kFormFaceName); }

}  // namespace ui::fltk
