#pragma once
// The window of a form: an FLTK window at the form's place, the menu bar, and one view per
// control. Built when the form is first shown and kept while the form lives, hidden or not,
// as a form keeps its controls.
#include <map>
#include <memory>

#include "platform/ui/fltk/ControlViews.h"
#include "platform/ui/fltk/MenuBarView.h"
#include "platform/ui/fltk/Metrics.h"
#include "platform/vcl/Forms.h"

class Fl_Group;
class Fl_Menu_Bar;
class Fl_Window;

namespace ui::fltk {

class FormWindow;

class FormView {
 public:
  explicit FormView(vcl::TForm& form);
  ~FormView();
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  vcl::TForm& form() const { return form_; }
  const vcl::TComponent* key() const { return key_; }
  Fl_Window& window() const;

  // Shows the window (modal when the form is shown modally) or hides it.
  void show();
  void hide();

  // Whether the component belongs to this form: a control on it, its menu or a menu item.
  bool holds(const vcl::TComponent& component) const;
  // A component of this form changed: bring its widget in line.
  void changed(vcl::TComponent& component);
  // Draws the control now, without waiting for the event loop.
  void repaint(vcl::TControl& control);
  // A component of this form is going.
  void forget(const vcl::TComponent& component);

  // From the window: the user resized it, or pressed its close box.
  void userResized(int clientWidth, int clientHeight);
  void closeBox();

 private:
  void syncForm();
  void syncMenu();
  void buildChildren(vcl::TWinControl& parent);
  ControlView* addView(vcl::TControl& control);
  void syncControl(vcl::TControl& control);
  void syncTree(vcl::TControl& control);  // the control and everything on it
  void orderChildren(vcl::TWinControl& parent);
  Point originOf(const vcl::TControl& control) const;
  Fl_Group* groupOf(const vcl::TWinControl* parent) const;
  ControlView* viewOf(const vcl::TComponent& component) const;
  int menuHeight() const;

  vcl::TForm& form_;
  const vcl::TComponent* key_;
  Face face_;
  FormWindow* window_;
  vcl::Bounds lastBounds_;  // the model's bounds the window was last placed at
  Fl_Menu_Bar* bar_ = nullptr;
  vcl::TMainMenu* shownMenu_ = nullptr;  // the model's menu the bar was built for
  std::unique_ptr<MenuBarView> menu_;
  std::map<const vcl::TComponent*, std::unique_ptr<ControlView>> views_;
};

}  // namespace ui::fltk
