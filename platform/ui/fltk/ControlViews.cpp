#include "platform/ui/fltk/ControlViews.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/ui/fltk/DisplayText.h"
#include "platform/ui/fltk/Dispatch.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace ui::fltk {
namespace {

// Anti-aliased glyphs may reach a pixel or two past the measured text.
constexpr int kGlyphOverhang = 2;

// Widgets are made outside any group and added by the form's view where they belong.
class NoCurrentGroup {
 public:
  NoCurrentGroup() : saved_(Fl_Group::current()) { Fl_Group::current(nullptr); }
  ~NoCurrentGroup() { Fl_Group::current(saved_); }
  NoCurrentGroup(const NoCurrentGroup&) = delete;
  NoCurrentGroup& operator=(const NoCurrentGroup&) = delete;

 private:
  Fl_Group* saved_;
};

void setLabel(Fl_Widget& widget, const std::string& caption) {
  const std::string label = toLabel(caption);
  if (widget.label() == nullptr || label != widget.label()) widget.copy_label(label.c_str());
}

void applyFace(Fl_Widget& widget, Face face) {
  widget.labelfont(face.font);
  widget.labelsize(face.size);
}

// Asks the window to draw an area again, background included: a label draws no background of
// its own, and its caption may reach past its widget.
void damageArea(Fl_Widget& widget, int x, int y, int w, int h) {
  if (Fl_Window* window = widget.window()) window->damage(FL_DAMAGE_ALL, x, y, w, h);
}

// --- Label: static text on the parent's background; its caption may underline ("&") as the
// model's captions do.

class LabelBox : public Fl_Box {
 public:
  LabelBox() : Fl_Box(0, 0, 0, 0) {
    box(FL_NO_BOX);
    align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
    set_flag(SHORTCUT_LABEL);
  }
};

class LabelView final : public ControlView {
 public:
  LabelView(vcl::TLabel& label, Face face) : ControlView(label, new LabelBox), label_(label), face_(face) {
    applyFace(*widget(), face);
  }

 protected:
  void syncContent() override { setLabel(*widget(), label_.caption()); }

  // A label is as wide as its caption (a window system's labels size themselves to their text),
  // so that a long path shown during a search is neither cut nor left behind in part.
  void place(int x, int y, int width, int height) override {
    const std::string label = toLabel(label_.caption());
    int textWidth = 0;
    int textHeight = 0;
    fl_font(face_.font, face_.size);
    fl_measure(label.c_str(), textWidth, textHeight);
    invalidate();  // where the old caption was
    widget()->resize(x, y, std::max(width, textWidth), std::max(height, textHeight));
  }

  void invalidate() override {
    const Fl_Widget& box = *widget();
    damageArea(*widget(), box.x() - kGlyphOverhang, box.y() - kGlyphOverhang, box.w() + 2 * kGlyphOverhang,
               box.h() + 2 * kGlyphOverhang);
  }

 private:
  vcl::TLabel& label_;
  Face face_;
};

// --- Memo: a text area; read-only keeps selection and copying but takes no edits.

class MemoWidget : public Fl_Text_Editor {
 public:
  MemoWidget() : Fl_Text_Editor(0, 0, 0, 0) {}
  bool readOnly = true;

  int handle(int event) override {
    if (readOnly && isEdit(event)) return Fl_Text_Display::handle(event);
    return Fl_Text_Editor::handle(event);
  }

 private:
  static bool isEdit(int event) {
    switch (event) {
      case FL_KEYBOARD:
      case FL_PASTE:
      case FL_DND_ENTER:
      case FL_DND_DRAG:
      case FL_DND_LEAVE:
      case FL_DND_RELEASE:
        return true;
      case FL_PUSH:
        return Fl::event_button() == FL_MIDDLE_MOUSE;  // pastes the selection
      default:
        return false;
    }
  }
};

class MemoView final : public ControlView {
 public:
  MemoView(vcl::TMemo& memo, Face face) : ControlView(memo, new MemoWidget), memo_(memo) {
    auto& editor = static_cast<MemoWidget&>(*widget());
    editor.buffer(&buffer_);
    applyFace(editor, face);
    editor.textfont(face.font);
    editor.textsize(face.size);
    editor.color(FL_BACKGROUND2_COLOR);
    buffer_.add_modify_callback(&MemoView::modified, this);
  }

  ~MemoView() override {
    buffer_.remove_modify_callback(&MemoView::modified, this);
    // The widget goes later (see ControlView); it must not reach the buffer, which goes now.
    static_cast<MemoWidget*>(widget())->buffer(nullptr);
  }

 protected:
  void syncContent() override {
    auto& editor = static_cast<MemoWidget&>(*widget());
    editor.readOnly = memo_.readOnly();
    editor.show_cursor(memo_.readOnly() ? 0 : 1);
    editor.box(memo_.borderStyle() == vcl::bsNone ? FL_FLAT_BOX : FL_DOWN_BOX);
    // FLTK shows each scroll bar while the text needs it. A horizontal scroll bar turns wrapping
    // off, as a window system's text areas do.
    const bool horizontal = memo_.scrollBars() == vcl::ssHorizontal || memo_.scrollBars() == vcl::ssBoth;
    const bool wrap = memo_.wordWrap() && !horizontal;
    if (wrap != wrapping_) {
      wrapping_ = wrap;
      editor.wrap_mode(wrap ? Fl_Text_Display::WRAP_AT_BOUNDS : Fl_Text_Display::WRAP_NONE, 0);
    }
    if (typing_) return;  // the text came from this widget
    const std::string text = toDisplay(memo_.text());
    char* shown = buffer_.text();
    const bool same = text == shown;
    std::free(shown);
    if (same) return;
    settingText_ = true;
    buffer_.text(text.c_str());
    settingText_ = false;
  }

 private:
  static void modified(int, int inserted, int deleted, int, const char*, void* data) {
    auto* view = static_cast<MemoView*>(data);
    if (view->settingText_ || (inserted == 0 && deleted == 0)) return;
    guarded([view] { view->typed(); });
  }

  void typed() {
    char* raw = buffer_.text();
    const std::optional<std::string> text = fromDisplay(raw);
    std::free(raw);
    if (!text) return;  // a character the model cannot hold: the next sync puts its text back
    typing_ = true;
    memo_.setText(*text);
    typing_ = false;
  }

  vcl::TMemo& memo_;
  Fl_Text_Buffer buffer_;
  bool wrapping_ = false;  // FLTK's text areas start without
  bool settingText_ = false;
  bool typing_ = false;
};

// --- Edit box.

class EditView final : public ControlView {
 public:
  EditView(vcl::TEdit& edit, Face face) : ControlView(edit, new Fl_Input(0, 0, 0, 0)), edit_(edit) {
    auto& input = static_cast<Fl_Input&>(*widget());
    input.when(FL_WHEN_CHANGED);
    input.textfont(face.font);
    input.textsize(face.size);
    applyFace(input, face);
  }

 protected:
  void syncContent() override {
    auto& input = static_cast<Fl_Input&>(*widget());
    const std::string text = toDisplay(edit_.text());
    if (text != input.value()) input.value(text.c_str());
  }

  void activated() override {
    auto& input = static_cast<Fl_Input&>(*widget());
    const std::optional<std::string> text = fromDisplay(input.value());
    if (!text) {
      fl_beep();  // a character the model's text cannot hold: refused, as a keystroke is
      input.value(toDisplay(edit_.text()).c_str());
      return;
    }
    edit_.setText(*text);
  }

 private:
  vcl::TEdit& edit_;
};

// --- Push button, check box and radio button: a click goes to the model's click(), which
// changes the state and fires the handlers; the notifications then set the widget's state.

class ButtonView final : public ControlView {
 public:
  ButtonView(vcl::TButton& button, Face face) : ControlView(button, new Fl_Button(0, 0, 0, 0)), button_(button) {
    applyFace(*widget(), face);
  }

 protected:
  void syncContent() override {
    auto& button = static_cast<Fl_Button&>(*widget());
    setLabel(button, button_.caption());
    // Enter presses the default button, Escape the cancel button.
    button.shortcut(button_.isDefault() ? FL_Enter : button_.isCancel() ? FL_Escape : 0);
  }
  void activated() override { button_.click(); }

 private:
  vcl::TButton& button_;
};

class CheckBoxView final : public ControlView {
 public:
  CheckBoxView(vcl::TCheckBox& check, Face face) : ControlView(check, new Fl_Check_Button(0, 0, 0, 0)), check_(check) {
    applyFace(*widget(), face);
  }

 protected:
  void syncContent() override {
    auto& button = static_cast<Fl_Check_Button&>(*widget());
    setLabel(button, check_.caption());
    button.value(check_.checked() ? 1 : 0);
  }
  void activated() override { check_.click(); }

 private:
  vcl::TCheckBox& check_;
};

class RadioButtonView final : public ControlView {
 public:
  RadioButtonView(vcl::TRadioButton& radio, Face face)
      : ControlView(radio, new Fl_Round_Button(0, 0, 0, 0)), radio_(radio) {
    widget()->type(FL_RADIO_BUTTON);
    applyFace(*widget(), face);
  }

 protected:
  void syncContent() override {
    auto& button = static_cast<Fl_Round_Button&>(*widget());
    setLabel(button, radio_.caption());
    button.value(radio_.checked() ? 1 : 0);
  }
  void activated() override { radio_.click(); }

 private:
  vcl::TRadioButton& radio_;
};

// --- Panel: a raised group; radio buttons on it exclude each other and no others.

class PanelView final : public ControlView {
 public:
  PanelView(vcl::TPanel& panel, Face face) : ControlView(panel, makeGroup()), panel_(panel) {
    applyFace(*widget(), face);
  }

  Fl_Group* group() const override { return static_cast<Fl_Group*>(widget()); }

 protected:
  void syncContent() override { setLabel(*widget(), panel_.caption()); }

 private:
  static Fl_Group* makeGroup() {
    auto* group = new Fl_Group(0, 0, 0, 0);
    group->end();
    group->box(FL_THIN_UP_BOX);
    group->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
    group->resizable(nullptr);  // children keep their size; the form's view places them
    return group;
  }

  vcl::TPanel& panel_;
};

}  // namespace

ControlView::ControlView(vcl::TControl& model, Fl_Widget* widget) : model_(model), widget_(widget) {
  widget_->callback(&ControlView::callback, this);
}

ControlView::~ControlView() {
  widget_->callback(static_cast<Fl_Callback*>(nullptr), nullptr);
  if (Fl_Group* parent = widget_->parent()) {
    damageArea(*widget_, widget_->x(), widget_->y(), widget_->w(), widget_->h());
    parent->remove(widget_);
  }
  // Deferred: the widget may be the one whose callback is running.
  Fl::delete_widget(widget_);
}

void ControlView::sync(Point origin) {
  const vcl::Bounds& b = model_.bounds();
  place(origin.x + b.left, origin.y + b.top, b.width, b.height);
  if (model_.visible() && !widget_->visible()) widget_->show();
  if (!model_.visible() && widget_->visible()) widget_->hide();
  if (model_.enabled() && !widget_->active()) widget_->activate();
  if (!model_.enabled() && widget_->active()) widget_->deactivate();
  syncContent();
  invalidate();
}

void ControlView::invalidate() {
  if (widget_->box() == FL_NO_BOX) {
    widget_->redraw_label();
  } else {
    widget_->redraw();
  }
}

void ControlView::place(int x, int y, int width, int height) {
  if (widget_->x() != x || widget_->y() != y || widget_->w() != width || widget_->h() != height) {
    damageArea(*widget_, widget_->x(), widget_->y(), widget_->w(), widget_->h());
    widget_->resize(x, y, width, height);
  }
}

void ControlView::callback(Fl_Widget*, void* data) {
  auto* view = static_cast<ControlView*>(data);
  guarded([view] { view->activated(); });
}

std::unique_ptr<ControlView> makeControlView(vcl::TControl& control, Face face) {
  NoCurrentGroup outside;
  if (auto* label = dynamic_cast<vcl::TLabel*>(&control)) return std::make_unique<LabelView>(*label, face);
  if (auto* memo = dynamic_cast<vcl::TMemo*>(&control)) return std::make_unique<MemoView>(*memo, face);
  if (auto* edit = dynamic_cast<vcl::TEdit*>(&control)) return std::make_unique<EditView>(*edit, face);
  if (auto* button = dynamic_cast<vcl::TButton*>(&control)) return std::make_unique<ButtonView>(*button, face);
  if (auto* check = dynamic_cast<vcl::TCheckBox*>(&control)) return std::make_unique<CheckBoxView>(*check, face);
  if (auto* radio = dynamic_cast<vcl::TRadioButton*>(&control)) return std::make_unique<RadioButtonView>(*radio, face);
  if (auto* panel = dynamic_cast<vcl::TPanel*>(&control)) return std::make_unique<PanelView>(*panel, face);
  return nullptr;
}

}  // namespace ui::fltk
