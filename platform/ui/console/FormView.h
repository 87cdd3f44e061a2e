#pragma once
// How the console front end shows a form's controls and a main menu, and the numbers by which
// a user picks them. Numbers are stable: hidden and disabled controls and items count too
// (they are only not listed), so that a control or item keeps its number whatever the state of
// the others, and scripts can rely on it.
#include <string>
#include <string_view>
#include <vector>

namespace vcl {
class TForm;
class TMainMenu;
class TMenuItem;
class TWinControl;
}  // namespace vcl

namespace ui {

class Transcript;

// A caption as a user reads it: "&&" stands for "&", any other "&" (an accelerator's mark) goes.
std::string withoutAccelerators(std::string_view caption);

// The controls of a form a user acts on: check boxes, radio buttons, push buttons and edit
// boxes, in tab order, through containers (panels) depth first. Number n is element n - 1.
std::vector<vcl::TWinControl*> numberedControls(const vcl::TForm& form);

// The caption by which a user names a numbered control ("" for an edit box).
std::string controlCaption(const vcl::TWinControl& control);

// Writes the visible controls of a form, one line each, numbered as numberedControls:
//    3 [x] Create Archive file          check box
//    4 (o) Zip archive                  radio button
//    6 <OK>                             push button
//    7 edit [DE]                        edit box
// " (disabled)" ends the line of a control the user cannot reach. Panels indent what they hold;
// labels ("label: caption") follow the windowed controls of their parent; a memo shows its
// lines exactly.
void showControls(Transcript& transcript, const vcl::TForm& form);

// A menu command: an item without subitems that is not a separator, and the way to it as a
// user reads it ("File > Open").
struct MenuCommand {
  vcl::TMenuItem* item;
  std::string path;
};

// The commands of a menu in menu order. Number n is element n - 1.
std::vector<MenuCommand> menuCommands(const vcl::TMainMenu& menu);

// Writes the visible items of a menu as a tree, commands numbered as menuCommands, " (disabled)"
// after an item the user cannot pick.
void showMenu(Transcript& transcript, const vcl::TMainMenu& menu);

}  // namespace ui
