#include "platform/ui/fltk/MenuBarView.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>

#include <algorithm>

#include "platform/ui/fltk/DisplayText.h"
#include "platform/ui/fltk/Dispatch.h"

namespace ui::fltk {
namespace {

bool isSeparator(const vcl::TMenuItem& item) { return item.caption() == "-"; }

}  // namespace

MenuBarView::MenuBarView(Fl_Menu_Bar& bar, vcl::TMainMenu& menu, Face face)
    : bar_(bar), menu_(&menu), root_(menu.items()), face_(face) {
  bar_.labelfont(face.font);
  bar_.labelsize(face.size);
  bar_.textfont(face.font);
  bar_.textsize(face.size);
  bar_.box(FL_FLAT_BOX);
  rebuild();
}

MenuBarView::~MenuBarView() {
  Fl::remove_timeout(&MenuBarView::rebuildLater, this);
  bar_.menu(nullptr);
}

void MenuBarView::rebuild() {
  if (rebuilding_) return;
  rebuilding_ = true;
  previousItems_ = std::move(items_);
  previousLabels_ = std::move(labels_);
  items_.clear();
  labels_.clear();
  shownItems_.clear();
  if (menu_ != nullptr) {
    menu_->rethinkHotkeys();
    addItems(menu_->items()->items());
  }
  items_.push_back(Fl_Menu_Item{});  // the end of the bar
  bar_.menu(items_.data());
  bar_.redraw();
  rebuilding_ = false;
}

void MenuBarView::addItems(const std::vector<vcl::TMenuItem*>& items) {
  std::size_t lastAdded = items_.size();  // none yet on this level
  for (vcl::TMenuItem* item : items) {
    if (!item->visible()) continue;
    if (isSeparator(*item)) {
      if (lastAdded < items_.size()) items_[lastAdded].flags |= FL_MENU_DIVIDER;
      continue;
    }
    shownItems_.push_back(item);
    labels_.push_back(toLabel(item->caption()));
    Fl_Menu_Item entry{};
    entry.text = labels_.back().c_str();
    entry.flags = item->enabled() ? 0 : FL_MENU_INACTIVE;
    entry.labelfont_ = face_.font;
    entry.labelsize_ = face_.size;
    lastAdded = items_.size();
    if (item->count() > 0) {
      entry.flags |= FL_SUBMENU;
      items_.push_back(entry);
      addItems(item->items());
      items_.push_back(Fl_Menu_Item{});  // the end of the submenu
    } else {
      entry.callback_ = &MenuBarView::picked;
      entry.user_data_ = item;
      items_.push_back(entry);
    }
  }
}

void MenuBarView::itemChanged() {
  if (!rebuilding_) rebuild();
}

void MenuBarView::forget(const vcl::TComponent& component) {
  const bool isMenu = menu_ != nullptr && &component == static_cast<const vcl::TComponent*>(menu_);
  const bool shown = &component == root_ ||
                     std::find(shownItems_.begin(), shownItems_.end(), &component) != shownItems_.end();
  if (!isMenu && !shown) return;  // a hidden item, or none of this menu
  if (isMenu) {
    menu_ = nullptr;
    root_ = nullptr;
  }
  static Fl_Menu_Item empty[1] = {};
  bar_.menu(empty);
  previousItems_.clear();
  previousLabels_.clear();
  items_.clear();
  labels_.clear();
  shownItems_.clear();
  bar_.redraw();
  if (menu_ != nullptr) Fl::add_timeout(0.0, &MenuBarView::rebuildLater, this);
}

void MenuBarView::picked(Fl_Widget*, void* data) {
  auto* item = static_cast<vcl::TMenuItem*>(data);
  guarded([item] { item->click(); });
}

void MenuBarView::rebuildLater(void* data) {
  auto* view = static_cast<MenuBarView*>(data);
  guarded([view] { view->rebuild(); });
}

}  // namespace ui::fltk
