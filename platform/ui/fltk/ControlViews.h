#pragma once
// One widget per control of the model, kept in line with it. A view reads the model when told
// (sync) and passes what the user did back through the model's public operations (click,
// setText), as a user's action; the model's notifications then bring every view in line.
#include <memory>

#include "platform/ui/fltk/Metrics.h"
#include "platform/vcl/Controls.h"

class Fl_Group;
class Fl_Widget;

namespace ui::fltk {

// A place in window coordinates.
struct Point {
  int x = 0;
  int y = 0;
};

class ControlView {
 public:
  ControlView(vcl::TControl& model, Fl_Widget* widget);
  virtual ~ControlView();  // takes the widget out of its group and deletes it
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  vcl::TControl& model() const { return model_; }
  Fl_Widget* widget() const { return widget_; }
  // The group that holds the widgets of the control's children (a panel); nullptr otherwise.
  virtual Fl_Group* group() const { return nullptr; }

  // Brings the widget in line with the model: place (origin: where the parent's client area
  // starts, in window coordinates), visible, enabled, and what the control shows.
  void sync(Point origin);

 protected:
  virtual void syncContent() = 0;
  // Sets the widget's place; a label also fits its width to its caption.
  virtual void place(int x, int y, int width, int height);
  // Asks for the widget to be drawn again. A widget without a box of its own is drawn with the
  // background under it, so that text is never drawn over old text.
  virtual void invalidate();
  // The user acted on the widget (clicked, typed). The view may be gone once the model has
  // handled it: nothing may touch the view after the model call.
  virtual void activated() {}

 private:
  static void callback(Fl_Widget*, void* view);
  vcl::TControl& model_;
  Fl_Widget* widget_;
};

// The view of a control of a kind the backend shows (label, memo, edit box, button, check box,
// radio button, panel); nullptr for any other kind, which then has no widget.
std::unique_ptr<ControlView> makeControlView(vcl::TControl& control, Face face);

}  // namespace ui::fltk
