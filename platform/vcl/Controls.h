#pragma once
// Controls: components with a place on a form. A control sits on a parent (the form, or a
// panel on it) at pixel bounds relative to the parent's client area; it is owned by the form
// that holds its parent, so that it lives exactly as long as that form.
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"

namespace vcl {

class TForm;
class TWinControl;

// How a modal form ended: mrNone while it runs.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

// Borders: a memo has none or a single line; a form is sizable (with a close box) by default.
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };

class TControl : public TComponent {
 public:
  // A control on parent (nullptr: a free-standing control, owned by its creator). The owner
  // is the form that holds parent, or parent itself when that is a form.
  TControl(TWinControl* parent, std::string name, Bounds bounds);
  ~TControl() override;

  TWinControl* parent() const { return parent_; }
  // The form this control sits on: the top of its parent chain when that is a form (a form
  // gives itself); nullptr otherwise.
  TForm* parentForm() const;

  const Bounds& bounds() const { return bounds_; }
  int left() const { return bounds_.left; }
  int top() const { return bounds_.top; }
  int width() const { return bounds_.width; }
  int height() const { return bounds_.height; }
  void setBounds(Bounds bounds);
  void setWidth(int width);
  void setHeight(int height);

  bool visible() const { return visible_; }
  virtual void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Whether a user can reach the control: it and every parent are visible and enabled.
  bool usable() const;

  // What a click of the user does. Here: the OnClick event; controls with a state change it
  // first (check box, radio button) or end a modal form (button). Callable from code too,
  // whatever the control's enabled state, as in the VCL.
  virtual void click();

  // Repaints the control at once, even inside a computation that takes no input.
  void repaint();

  TNotifyEvent OnClick;

 protected:
  // For forms: a control with an owner but without a parent, hidden until shown.
  TControl(TComponent* owner, std::string name);

  // The text that captions show and edit boxes hold; classes publish it under the name that
  // fits them (caption or text).
  const std::string& controlText() const { return text_; }
  void setControlText(std::string text);

  // Called after the width or height changed.
  virtual void resized() {}
  void notifyChanged();

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  Bounds bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
};

// A control that can hold others and take the keyboard focus; its children keep a tab order.
class TWinControl : public TControl {
 public:
  TWinControl(TWinControl* parent, std::string name, Bounds bounds);
  ~TWinControl() override;

  // The controls placed on this one, in the order they were created.
  const std::vector<TControl*>& controls() const { return controls_; }
  // The windowed controls placed on this one, in tab order.
  const std::vector<TWinControl*>& tabList() const { return tabList_; }

  // Position in the parent's tab order, 0 first; -1 without a parent. A new control comes
  // last; setting a position moves the others up or down, as in the VCL.
  int tabOrder() const;
  void setTabOrder(int order);

 protected:
  TWinControl(TComponent* owner, std::string name);

 private:
  friend class TControl;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
};

}  // namespace vcl
