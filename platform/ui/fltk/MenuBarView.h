#pragma once
// The menu bar of a form: FLTK menu items built from the model's main menu. The items are laid
// out directly (not through Fl_Menu_::add, which would read "/" in a caption as a submenu, "\"
// as an escape, a leading "_" as a divider, and merge two items of the same caption), so a
// recent-file path shows exactly as the model holds it. "&" underlines as in the model.
#include <deque>
#include <string>
#include <vector>

#include <FL/Fl_Menu_Item.H>

#include "platform/ui/fltk/Metrics.h"
#include "platform/vcl/Menus.h"

class Fl_Menu_Bar;

namespace ui::fltk {

class MenuBarView {
 public:
  MenuBarView(Fl_Menu_Bar& bar, vcl::TMainMenu& menu, Face face);
  ~MenuBarView();
  MenuBarView(const MenuBarView&) = delete;
  MenuBarView& operator=(const MenuBarView&) = delete;

  // nullptr once the menu has gone.
  vcl::TMainMenu* menu() const { return menu_; }
  Fl_Menu_Bar& bar() const { return bar_; }

  // Builds the items anew from the model, accelerators assigned first (the menu is built for
  // display). Changes the model's items make meanwhile (the accelerators) are part of it.
  void rebuild();
  // An item of the model changed.
  void itemChanged();
  // A component is going. When it is the menu or one of its items, the bar empties at once (no
  // item may lead to it any more) and is built again on the next turn of the event loop.
  void forget(const vcl::TComponent& component);

 private:
  void addItems(const std::vector<vcl::TMenuItem*>& items);
  static void picked(Fl_Widget*, void* item);
  static void rebuildLater(void* view);

  Fl_Menu_Bar& bar_;
  vcl::TMainMenu* menu_;
  const vcl::TComponent* root_;  // the menu's root item
  Face face_;
  // The items shown and their labels; the previous generation is kept one rebuild longer,
  // since a rebuild may run inside the callback of an item of it.
  std::vector<Fl_Menu_Item> items_;
  std::deque<std::string> labels_;
  std::vector<Fl_Menu_Item> previousItems_;
  std::deque<std::string> previousLabels_;
  std::vector<const vcl::TComponent*> shownItems_;  // every item the bar shows, titles included
  bool rebuilding_ = false;
};

}  // namespace ui::fltk
