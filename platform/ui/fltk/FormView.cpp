#include "platform/ui/fltk/FormView.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/fltk/DisplayText.h"
#include "platform/ui/fltk/Dispatch.h"
#include "platform/vcl/Menus.h"

namespace ui::fltk {
namespace {

constexpr int kMinClientWidth = 104;  // SM_CXMINTRACK (112) without the frame
constexpr int kMinClientHeight = 1;

}  // namespace

// The FLTK side of a form's window: hands the close box and the user's resizing to the view.
class FormWindow : public Fl_Double_Window {
 public:
  FormWindow(FormView& view, int x, int y, int w, int h) : Fl_Double_Window(x, y, w, h), view_(&view) {
    end();
    resizable(nullptr);  // the model places every control itself (a form's OnResize)
    callback(&FormWindow::closeCallback);
  }

  // The view is going; the window follows on the next turn of the event loop.
  void detach() { view_ = nullptr; }

  void setModal(bool modal) {
    if (modal) {
      set_modal();
    } else {
      clear_flag(MODAL);
    }
  }

  // Resizing that the model asked for, which must not come back to it as the user's.
  void resizeFromModel(int x, int y, int w, int h) {
    fromModel_ = true;
    resize(x, y, w, h);
    fromModel_ = false;
  }

  void resize(int x, int y, int w, int h) override {
    const bool sized = w != this->w() || h != this->h();
    Fl_Double_Window::resize(x, y, w, h);
    if (sized && !fromModel_ && view_ != nullptr) {
      FormView* view = view_;
      guarded([view, w, h] { view->userResized(w, h); });
    }
  }

 private:
  // FLTK calls a window's callback for its close box and for Escape. A form closes with the
  // close box only: Escape presses the cancel button, when the form has one.
  static void closeCallback(Fl_Widget* widget, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    FormView* view = static_cast<FormWindow*>(widget)->view_;
    if (view != nullptr) guarded([view] { view->closeBox(); });
  }

  FormView* view_;
  bool fromModel_ = false;
};

FormView::FormView(vcl::TForm& form) : form_(form), key_(&form), face_(faceOf(form.font())) {
  Fl_Group* saved = Fl_Group::current();
  Fl_Group::current(nullptr);
  const ClientSize client = clientSizeOf(form);
  window_ = new FormWindow(*this, form.left(), form.top(), std::max(client.width, 1), std::max(client.height, 1));
  Fl_Group::current(saved);
  window_->labelfont(face_.font);
  window_->labelsize(face_.size);
  lastBounds_ = form.bounds();
  syncMenu();
  buildChildren(form);
  syncForm();
  syncTree(form);
}

FormView::~FormView() {
  views_.clear();
  menu_.reset();
  window_->detach();
  window_->hide();
  Fl::delete_widget(window_);
}

Fl_Window& FormView::window() const { return *window_; }

void FormView::show() {
  syncForm();
  window_->setModal(form_.modal());
  window_->show();
}

void FormView::hide() { window_->hide(); }

bool FormView::holds(const vcl::TComponent& component) const {
  if (&component == key_) return true;
  if (auto* item = dynamic_cast<const vcl::TMenuItem*>(&component)) {
    return menu_ != nullptr && menu_->menu() != nullptr && item->menu() == menu_->menu();
  }
  if (auto* control = dynamic_cast<const vcl::TControl*>(&component)) return control->parentForm() == &form_;
  return false;
}

void FormView::changed(vcl::TComponent& component) {
  if (&component == key_) {
    syncForm();
    return;
  }
  if (dynamic_cast<vcl::TMenuItem*>(&component) != nullptr) {
    if (menu_ != nullptr) menu_->itemChanged();
    return;
  }
  auto* control = dynamic_cast<vcl::TControl*>(&component);
  if (control == nullptr || control->parent() == nullptr) return;
  if (viewOf(*control) == nullptr) {
    // Made after the window was built: it gets its widget now.
    if (groupOf(control->parent()) == nullptr || addView(*control) == nullptr) return;
  }
  orderChildren(*control->parent());  // a new control, or a new tab order
  syncTree(*control);
}

void FormView::repaint(vcl::TControl& control) {
  if (&control == static_cast<vcl::TControl*>(&form_)) {
    syncForm();
    syncTree(form_);
  } else {
    syncTree(control);
  }
  if (window_->shown()) Fl::flush();
}

void FormView::forget(const vcl::TComponent& component) {
  if (menu_ != nullptr) menu_->forget(component);
  views_.erase(&component);
}

void FormView::userResized(int clientWidth, int clientHeight) {
  if (bar_ != nullptr) bar_->size(clientWidth, kMenuBarHeight);
  const vcl::Bounds bounds = outerBoundsFor(form_, clientWidth, clientHeight);
  // The window is where the window manager put it; only its size goes to the model.
  lastBounds_ = bounds;
  form_.setBounds(bounds);
}

void FormView::closeBox() { form_.close(); }

void FormView::syncForm() {
  const std::string title = toDisplay(form_.caption());
  if (window_->label() == nullptr || title != window_->label()) window_->copy_label(title.c_str());

  const ClientSize client = clientSizeOf(form_);
  const int w = std::max(client.width, 1);
  const int h = std::max(client.height, 1);
  if (form_.bounds() != lastBounds_) {
    // Only a change of the model's bounds moves the window: where the window manager put it
    // otherwise stays.
    lastBounds_ = form_.bounds();
    window_->resizeFromModel(form_.left(), form_.top(), w, h);
  }
  switch (form_.borderStyle()) {
    case vcl::bsSizeable:
      window_->size_range(std::min(kMinClientWidth, w), std::min(kMinClientHeight, h));
      window_->border(1);
      break;
    case vcl::bsNone:
      window_->size_range(w, h, w, h);
      window_->border(0);
      break;
    case vcl::bsSingle:
    case vcl::bsDialog:
      window_->size_range(w, h, w, h);
      window_->border(1);
      break;
  }
  if (form_.enabled() && !window_->active()) window_->activate();
  if (!form_.enabled() && window_->active()) window_->deactivate();
  syncMenu();
  if (bar_ != nullptr) bar_->size(window_->w(), kMenuBarHeight);
}

void FormView::syncMenu() {
  if (form_.menu() == shownMenu_) return;
  const bool hadMenu = bar_ != nullptr;
  if (bar_ != nullptr) {
    menu_.reset();
    window_->remove(bar_);
    Fl::delete_widget(bar_);
    bar_ = nullptr;
  }
  shownMenu_ = form_.menu();
  if (shownMenu_ != nullptr) {
    Fl_Group* saved = Fl_Group::current();
    Fl_Group::current(nullptr);
    bar_ = new Fl_Menu_Bar(0, 0, window_->w(), kMenuBarHeight);
    Fl_Group::current(saved);
    window_->insert(*bar_, 0);
    menu_ = std::make_unique<MenuBarView>(*bar_, *shownMenu_, face_);
  }
  // The client area starts below the bar: everything moves when the bar comes or goes.
  if (hadMenu != (bar_ != nullptr) && !views_.empty()) syncTree(form_);
}

void FormView::buildChildren(vcl::TWinControl& parent) {
  // Static controls first, under the windowed ones, as a window system paints them; then the
  // windowed controls in tab order, which is the order FLTK moves the focus in.
  for (vcl::TControl* child : parent.controls()) {
    if (dynamic_cast<vcl::TWinControl*>(child) == nullptr) addView(*child);
  }
  for (vcl::TWinControl* child : parent.tabList()) addView(*child);
}

ControlView* FormView::addView(vcl::TControl& control) {
  Fl_Group* group = groupOf(control.parent());
  if (group == nullptr) return nullptr;
  std::unique_ptr<ControlView> view = makeControlView(control, face_);
  if (view == nullptr) return nullptr;
  ControlView* added = view.get();
  group->add(view->widget());
  views_[&control] = std::move(view);
  if (added->group() != nullptr) buildChildren(static_cast<vcl::TWinControl&>(control));
  return added;
}

void FormView::syncControl(vcl::TControl& control) {
  if (ControlView* view = viewOf(control)) view->sync(originOf(control));
}

void FormView::syncTree(vcl::TControl& control) {
  if (&control != static_cast<vcl::TControl*>(&form_)) syncControl(control);
  if (auto* container = dynamic_cast<vcl::TWinControl*>(&control)) {
    for (vcl::TControl* child : container->controls()) syncTree(*child);
  }
}

void FormView::orderChildren(vcl::TWinControl& parent) {
  Fl_Group* group = groupOf(&parent);
  if (group == nullptr) return;
  std::vector<Fl_Widget*> order;
  for (vcl::TControl* child : parent.controls()) {
    if (dynamic_cast<vcl::TWinControl*>(child) != nullptr) continue;
    if (ControlView* view = viewOf(*child)) order.push_back(view->widget());
  }
  for (vcl::TWinControl* child : parent.tabList()) {
    if (ControlView* view = viewOf(*child)) order.push_back(view->widget());
  }
  const int first = group == window_ && bar_ != nullptr ? 1 : 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const int index = first + static_cast<int>(i);
    if (index >= group->children() || group->child(index) != order[i]) group->insert(*order[i], index);
  }
}

Point FormView::originOf(const vcl::TControl& control) const {
  Point origin{0, menuHeight()};
  for (const vcl::TWinControl* parent = control.parent();
       parent != nullptr && parent != static_cast<const vcl::TWinControl*>(&form_); parent = parent->parent()) {
    origin.x += parent->left();
    origin.y += parent->top();
  }
  return origin;
}

Fl_Group* FormView::groupOf(const vcl::TWinControl* parent) const {
  if (parent == nullptr) return nullptr;
  if (parent == static_cast<const vcl::TWinControl*>(&form_)) return window_;
  ControlView* view = viewOf(*parent);
  return view != nullptr ? view->group() : nullptr;
}

ControlView* FormView::viewOf(const vcl::TComponent& component) const {
  const auto found = views_.find(&component);
  return found != views_.end() ? found->second.get() : nullptr;
}

int FormView::menuHeight() const { return bar_ != nullptr ? kMenuBarHeight : 0; }

}  // namespace ui::fltk
