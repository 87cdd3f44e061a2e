#include "platform/vcl/Controls.h"

#include <algorithm>

#include "platform/vcl/Backend.h"
#include "platform/vcl/Forms.h"

namespace vcl {
namespace {

TComponent* ownerOnParent(TWinControl* parent) {
  if (parent == nullptr) return nullptr;
  return parent->parentForm();
}

}  // namespace

TControl::TControl(TWinControl* parent, std::string name, Bounds bounds)
    : TComponent(ownerOnParent(parent), std::move(name)), parent_(parent), bounds_(bounds) {
  if (parent_ != nullptr) parent_->controls_.push_back(this);
}

TControl::TControl(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), visible_(false) {}

TControl::~TControl() {
  if (parent_ != nullptr) std::erase(parent_->controls_, this);
}

TForm* TControl::parentForm() const {
  const TControl* top = this;
  while (top->parent_ != nullptr) top = top->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(top));
}

void TControl::setBounds(Bounds bounds) {
  if (bounds == bounds_) return;
  const bool sizeChanged = bounds.width != bounds_.width || bounds.height != bounds_.height;
  bounds_ = bounds;
  notifyChanged();
  if (sizeChanged) resized();
}

void TControl::setWidth(int width) { setBounds({bounds_.left, bounds_.top, width, bounds_.height}); }

void TControl::setHeight(int height) { setBounds({bounds_.left, bounds_.top, bounds_.width, height}); }

void TControl::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  notifyChanged();
}

void TControl::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notifyChanged();
}

bool TControl::usable() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void TControl::click() { OnClick(this); }

void TControl::repaint() { backend().repaint(*this); }

void TControl::setControlText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  notifyChanged();
}

void TControl::notifyChanged() { backend().changed(*this); }

TWinControl::TWinControl(TWinControl* parent, std::string name, Bounds bounds)
    : TControl(parent, std::move(name), bounds) {
  if (parent != nullptr) parent->tabList_.push_back(this);
}

TWinControl::TWinControl(TComponent* owner, std::string name) : TControl(owner, std::move(name)) {}

TWinControl::~TWinControl() {
  // Children still alive (owned elsewhere) must not reach back into the lists below.
  for (TControl* child : controls_) child->parent_ = nullptr;
  if (parent() != nullptr) std::erase(parent()->tabList_, this);
}

int TWinControl::tabOrder() const {
  if (parent() == nullptr) return -1;
  const auto& list = parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::setTabOrder(int order) {
  if (parent() == nullptr) return;
  auto& list = parent()->tabList_;
  std::erase(list, this);
  const int last = static_cast<int>(list.size());
  const int position = order < 0 || order > last ? last : order;
  list.insert(list.begin() + position, this);
  notifyChanged();
}

}  // namespace vcl
