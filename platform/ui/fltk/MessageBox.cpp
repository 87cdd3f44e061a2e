#include "platform/ui/fltk/MessageBox.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/ui/fltk/DisplayText.h"
#include "platform/ui/fltk/Dispatch.h"
#include "platform/ui/fltk/Metrics.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

namespace ui::fltk {
namespace {

// Layout of a message box at 96 dots per inch.
constexpr int kMargin = 12;          // around the text
constexpr int kTextToButtons = 14;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kBottomMargin = 11;
constexpr int kMinWidth = 120;
constexpr int kScreenShareNum = 5;   // text wraps at 5/8 of the screen's width
constexpr int kScreenShareDen = 8;

class MessageBoxWindow : public Fl_Double_Window {
 public:
  MessageBoxWindow(const std::string& text, const std::string& caption, unsigned buttons)
      : Fl_Double_Window(0, 0, kMinWidth, kMinWidth),
        closeAnswer_(buttons == vcl::MB_OKCANCEL ? vcl::IDCANCEL : vcl::IDOK),
        answer_(closeAnswer_) {
    const Face face = faceOf(vcl::TFont{});
    const std::string label = toLabel(text);
    int textWidth = Fl::w() * kScreenShareNum / kScreenShareDen;
    int textHeight = 0;
    fl_font(face.font, face.size);
    fl_measure(label.c_str(), textWidth, textHeight);

    const int buttonCount = buttons == vcl::MB_OKCANCEL ? 2 : 1;
    const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
    const int width = std::min(std::max({textWidth + 2 * kMargin, buttonsWidth + 2 * kMargin, kMinWidth}), Fl::w());
    const int buttonsTop = kMargin + textHeight + kTextToButtons;
    const int height = buttonsTop + kButtonHeight + kBottomMargin;
    size(width, height);
    position((Fl::w() - width) / 2, (Fl::h() - height) / 2);

    auto* message = new Fl_Box(kMargin, kMargin, width - 2 * kMargin, textHeight);
    message->box(FL_NO_BOX);
    message->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    message->labelfont(face.font);
    message->labelsize(face.size);
    message->copy_label(label.c_str());

    int left = (width - buttonsWidth) / 2;
    ok_ = addButton("OK", left, buttonsTop, face);
    ok_->shortcut(FL_Enter);
    if (buttonCount == 2) {
      left += kButtonWidth + kButtonGap;
      Fl_Button* cancel = addButton("Cancel", left, buttonsTop, face);
      cancel->callback(&MessageBoxWindow::answerCancel, this);
    }
    ok_->callback(&MessageBoxWindow::answerOk, this);
    end();
    copy_label(toDisplay(caption).c_str());
    callback(&MessageBoxWindow::closed, this);
    set_modal();
  }

  int answer() const { return answer_; }

 private:
  Fl_Button* addButton(const char* caption, int left, int top, Face face) {
    auto* button = new Fl_Button(left, top, kButtonWidth, kButtonHeight, caption);
    button->labelfont(face.font);
    button->labelsize(face.size);
    return button;
  }

  void finish(int answer) {
    answer_ = answer;
    hide();
  }
  static void answerOk(Fl_Widget*, void* box) { static_cast<MessageBoxWindow*>(box)->finish(vcl::IDOK); }
  static void answerCancel(Fl_Widget*, void* box) { static_cast<MessageBoxWindow*>(box)->finish(vcl::IDCANCEL); }
  // The close box and Escape.
  static void closed(Fl_Widget*, void* box) {
    auto* self = static_cast<MessageBoxWindow*>(box);
    self->finish(self->closeAnswer_);
  }

  int closeAnswer_;
  int answer_;
  Fl_Button* ok_ = nullptr;
};

}  // namespace

int runMessageBox(const std::string& text, const std::string& caption, unsigned buttons) {
  Fl_Group* saved = Fl_Group::current();
  Fl_Group::current(nullptr);  // a top-level window, never a child of one being built
  MessageBoxWindow box(text, caption, buttons);
  Fl_Group::current(saved);
  box.show();
  while (box.shown()) waitOnce();
  return box.answer();
}

}  // namespace ui::fltk
