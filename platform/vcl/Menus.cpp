#include "platform/vcl/Menus.h"

#include <algorithm>
#include <array>

#include "platform/Cp1252.h"
#include "platform/vcl/Backend.h"

namespace vcl {
namespace {

constexpr char kAccelerator = '&';
constexpr std::string::size_type kNone = std::string::npos;

// Position of the accelerator character in a caption, kNone when it has none. "&&" stands for
// a literal "&" and marks nothing; a lone "&" at the end marks nothing either.
std::string::size_type acceleratorPosition(const std::string& caption) {
  for (std::string::size_type i = 0; i < caption.size(); ++i) {
    if (caption[i] != kAccelerator) continue;
    if (i + 1 >= caption.size()) return kNone;
    if (caption[i + 1] != kAccelerator) return i + 1;
    ++i;  // skip the literal "&"
  }
  return kNone;
}

// Letters and digits of code page 1252, the characters an accelerator may take.
bool canBeAccelerator(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
    case 0xAA: case 0xB5: case 0xBA:
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}

bool isSeparator(const TMenuItem& item) { return item.caption() == "-"; }

// One group of sibling items: the ones without an accelerator get the first free character.
void assignAccelerators(const std::vector<TMenuItem*>& siblings) {
  std::array<bool, 256> used{};
  std::vector<TMenuItem*> without;
  for (TMenuItem* item : siblings) {
    if (!item->visible() || isSeparator(*item)) continue;
    const std::string::size_type at = acceleratorPosition(item->caption());
    if (at == kNone) {
      without.push_back(item);
    } else {
      used[platform::ansiToLower(static_cast<unsigned char>(item->caption()[at]))] = true;
    }
  }
  for (TMenuItem* item : without) {
    const std::string& caption = item->caption();
    for (std::string::size_type i = 0; i < caption.size(); ++i) {
      const auto c = static_cast<unsigned char>(caption[i]);
      const unsigned char key = platform::ansiToLower(c);
      if (!canBeAccelerator(c) || used[key]) continue;
      used[key] = true;
      std::string marked = caption;
      marked.insert(i, 1, kAccelerator);
      item->setCaption(std::move(marked));
      break;
    }
  }
  for (TMenuItem* item : siblings) assignAccelerators(item->items());
}

// Items belong to the menu's form, so that the form can find them by name; items of a menu
// without an owner belong to the menu.
TComponent* ownerOfItemsIn(TMainMenu* menu) {
  if (menu == nullptr) return nullptr;
  return menu->owner() != nullptr ? menu->owner() : menu;
}

}  // namespace

TMenuItem::TMenuItem(TMainMenu* menu) : TComponent(nullptr, ""), menu_(menu) {}

TMenuItem::TMenuItem(TMenuItem* parent, std::string name, std::string caption)
    : TComponent(ownerOfItemsIn(parent == nullptr ? nullptr : parent->menu_), std::move(name)),
      menu_(parent == nullptr ? nullptr : parent->menu_),
      parent_(parent),
      caption_(std::move(caption)) {
  if (parent_ != nullptr) parent_->items_.push_back(this);
}

TMenuItem::~TMenuItem() {
  for (TMenuItem* child : items_) child->parent_ = nullptr;
  if (parent_ != nullptr) std::erase(parent_->items_, this);
}

void TMenuItem::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed();
}

void TMenuItem::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  changed();
}

void TMenuItem::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  changed();
}

bool TMenuItem::usable() const {
  for (const TMenuItem* item = this; item != nullptr && item->parent_ != nullptr; item = item->parent_) {
    if (!item->visible_ || !item->enabled_) return false;
  }
  return true;
}

void TMenuItem::click() {
  if (enabled_) OnClick(this);
}

void TMenuItem::changed() { backend().changed(*this); }

TMainMenu::TMainMenu(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), items_(new TMenuItem(this)) {}

TMainMenu::~TMainMenu() {
  // Items still alive (owned by the form, going later) must not reach back into this menu.
  std::vector<TMenuItem*> pending{items_.get()};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    item->menu_ = nullptr;
    pending.insert(pending.end(), item->items_.begin(), item->items_.end());
  }
}

void TMainMenu::rethinkHotkeys() {
  if (autoHotkeys_ == maAutomatic) assignAccelerators(items_->items());
}

}  // namespace vcl
