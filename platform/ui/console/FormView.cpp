#include "platform/ui/console/FormView.h"

#include <functional>

#include "platform/ui/console/Transcript.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace ui {
namespace {

constexpr char kAccelerator = '&';
constexpr std::string_view kIndent = "  ";  // per level of a listing
constexpr std::string_view kDisabled = " (disabled)";
constexpr std::string_view kMenuSeparator = "-";
constexpr std::string_view kPathSeparator = " > ";

bool isNumbered(const vcl::TWinControl& control) {
  return dynamic_cast<const vcl::TCheckBox*>(&control) != nullptr ||
         dynamic_cast<const vcl::TRadioButton*>(&control) != nullptr ||
         dynamic_cast<const vcl::TButton*>(&control) != nullptr ||
         dynamic_cast<const vcl::TEdit*>(&control) != nullptr;
}

void collectNumbered(const vcl::TWinControl& parent, std::vector<vcl::TWinControl*>& out) {
  for (vcl::TWinControl* child : parent.tabList()) {
    if (isNumbered(*child)) out.push_back(child);
    collectNumbered(*child, out);
  }
}

std::string indent(int depth) {
  std::string out;
  for (int i = 0; i < depth; ++i) out += kIndent;
  return out;
}

// What a numbered control shows: its kind, state and caption or text.
std::string controlFace(const vcl::TWinControl& control) {
  if (auto* check = dynamic_cast<const vcl::TCheckBox*>(&control)) {
    return std::string(check->checked() ? "[x] " : "[ ] ") + withoutAccelerators(check->caption());
  }
  if (auto* radio = dynamic_cast<const vcl::TRadioButton*>(&control)) {
    return std::string(radio->checked() ? "(o) " : "( ) ") + withoutAccelerators(radio->caption());
  }
  if (auto* button = dynamic_cast<const vcl::TButton*>(&control)) {
    return "<" + withoutAccelerators(button->caption()) + ">";
  }
  if (auto* edit = dynamic_cast<const vcl::TEdit*>(&control)) return "edit [" + edit->text() + "]";
  return {};
}

class ControlLister {
 public:
  ControlLister(Transcript& transcript, const vcl::TForm& form)
      : transcript_(transcript), numbered_(numberedControls(form)), width_(std::to_string(numbered_.size()).size()) {}

  void list(const vcl::TWinControl& parent, int depth) {
    for (vcl::TWinControl* child : parent.tabList()) {
      if (!child->visible()) continue;
      listWindowed(*child, depth);
    }
    for (vcl::TControl* child : parent.controls()) {
      if (!child->visible()) continue;
      if (auto* label = dynamic_cast<const vcl::TLabel*>(child)) unnumbered(depth, "label: " + label->caption());
    }
  }

 private:
  void listWindowed(const vcl::TWinControl& control, int depth) {
    if (isNumbered(control)) {
      numberedLine(control, depth);
    } else if (auto* memo = dynamic_cast<const vcl::TMemo*>(&control)) {
      unnumbered(depth, "memo " + memo->name() + " (" + std::to_string(memo->lines().size()) + " lines):");
      for (const std::string& line : memo->lines()) transcript_.exactText(line);
    } else if (auto* panel = dynamic_cast<const vcl::TPanel*>(&control); panel != nullptr && !panel->caption().empty()) {
      unnumbered(depth, "panel: " + panel->caption());
    }
    // Whatever a container holds stands one level in, under it.
    const int inner = dynamic_cast<const vcl::TPanel*>(&control) != nullptr ? depth + 1 : depth;
    list(control, inner);
  }

  void numberedLine(const vcl::TWinControl& control, int depth) {
    std::size_t number = 0;
    while (numbered_[number] != &control) ++number;
    std::string text = std::to_string(number + 1);
    text.insert(0, width_ - text.size(), ' ');
    text = std::string(kIndent) + text + " " + indent(depth) + controlFace(control);
    if (!control.usable()) text += kDisabled;
    transcript_.line(text);
  }

  void unnumbered(int depth, const std::string& text) {
    transcript_.line(std::string(kIndent) + std::string(width_, ' ') + " " + indent(depth) + text);
  }

  Transcript& transcript_;
  std::vector<vcl::TWinControl*> numbered_;
  std::size_t width_;
};

bool isSeparator(const vcl::TMenuItem& item) { return item.caption() == kMenuSeparator; }

}  // namespace

std::string withoutAccelerators(std::string_view caption) {
  std::string out;
  for (std::string_view::size_type i = 0; i < caption.size(); ++i) {
    if (caption[i] == kAccelerator) {
      if (i + 1 < caption.size() && caption[i + 1] == kAccelerator) {
        out += kAccelerator;
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

std::vector<vcl::TWinControl*> numberedControls(const vcl::TForm& form) {
  std::vector<vcl::TWinControl*> out;
  collectNumbered(form, out);
  return out;
}

std::string controlCaption(const vcl::TWinControl& control) {
  if (auto* check = dynamic_cast<const vcl::TCheckBox*>(&control)) return withoutAccelerators(check->caption());
  if (auto* radio = dynamic_cast<const vcl::TRadioButton*>(&control)) return withoutAccelerators(radio->caption());
  if (auto* button = dynamic_cast<const vcl::TButton*>(&control)) return withoutAccelerators(button->caption());
  return {};
}

void showControls(Transcript& transcript, const vcl::TForm& form) { ControlLister(transcript, form).list(form, 0); }

std::vector<MenuCommand> menuCommands(const vcl::TMainMenu& menu) {
  std::vector<MenuCommand> out;
  std::function<void(const vcl::TMenuItem&, const std::string&)> walk = [&](const vcl::TMenuItem& parent,
                                                                          const std::string& path) {
    for (vcl::TMenuItem* item : parent.items()) {
      if (isSeparator(*item)) continue;
      const std::string itemPath =
          path.empty() ? withoutAccelerators(item->caption()) : path + std::string(kPathSeparator) + withoutAccelerators(item->caption());
      if (item->items().empty()) {
        out.push_back({item, itemPath});
      } else {
        walk(*item, itemPath);
      }
    }
  };
  walk(*menu.items(), "");
  return out;
}

void showMenu(Transcript& transcript, const vcl::TMainMenu& menu) {
  const std::vector<MenuCommand> commands = menuCommands(menu);
  transcript.line("menu:");
  std::function<void(const vcl::TMenuItem&, int)> walk = [&](const vcl::TMenuItem& parent, int depth) {
    for (vcl::TMenuItem* item : parent.items()) {
      if (!item->visible() || isSeparator(*item)) continue;
      std::string text = std::string(kIndent) + indent(depth);
      if (item->items().empty()) {
        std::size_t number = 0;
        while (commands[number].item != item) ++number;
        text += std::to_string(number + 1) + " ";
      }
      text += withoutAccelerators(item->caption());
      if (!item->usable()) text += kDisabled;
      transcript.line(text);
      walk(*item, depth + 1);
    }
  };
  walk(*menu.items(), 0);
}

}  // namespace ui
