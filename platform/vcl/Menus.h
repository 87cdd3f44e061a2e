#pragma once
// The main menu of a form and its items.
//
// Automatic accelerators: as the VCL's default for menus does, a menu gives every visible item
// whose caption has no accelerator ("&" before a character; "&&" is a literal "&") one of its
// own: an "&" goes before the first letter or digit of the caption that no visible sibling
// uses as its accelerator yet (letter case ignored). With no such character none is added.
// This happens when the menu is built for display (rethinkHotkeys), not on every caption
// change: a caption stored back without its "&" reads back without it until the menu is
// built again. So "C:\Family\smith.paf" set as a caption reads back "&C:\Family\smith.paf"
// once the form has been shown.
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"

namespace vcl {

class TMainMenu;

enum TMenuAutoFlag { maAutomatic, maManual };

class TMenuItem : public TComponent {
 public:
  // A new item at the end of parent's submenu. It is owned by the owner of parent's menu (the
  // form), or by the menu itself when that has no owner.
  TMenuItem(TMenuItem* parent, std::string name, std::string caption = "");
  ~TMenuItem() override;

  TMainMenu* menu() const { return menu_; }
  TMenuItem* parent() const { return parent_; }
  const std::vector<TMenuItem*>& items() const { return items_; }
  int count() const { return static_cast<int>(items_.size()); }

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Whether a user can pick the item: it and every item above it are visible and enabled.
  bool usable() const;

  // Fires OnClick when the item is enabled, as the VCL does.
  void click();

  TNotifyEvent OnClick;

 private:
  friend class TMainMenu;
  explicit TMenuItem(TMainMenu* menu);  // the menu's root item
  void changed();

  TMainMenu* menu_ = nullptr;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
};

class TMainMenu : public TComponent {
 public:
  TMainMenu(TComponent* owner, std::string name);
  ~TMainMenu() override;

  // The root item: its items make the menu bar.
  TMenuItem* items() const { return items_.get(); }

  TMenuAutoFlag autoHotkeys() const { return autoHotkeys_; }
  void setAutoHotkeys(TMenuAutoFlag flag) { autoHotkeys_ = flag; }

  // Builds the menu for display: with automatic accelerators, gives every visible item
  // without one its accelerator (see the top of this file). Runs when the menu's form is
  // shown; a backend runs it again whenever it builds the menu anew (before drawing it, before
  // a user picks from it).
  void rethinkHotkeys();

 private:
  std::unique_ptr<TMenuItem> items_;
  TMenuAutoFlag autoHotkeys_ = maAutomatic;
};

}  // namespace vcl
