#pragma once
// Texts between the component model (code page 1252) and FLTK (UTF-8, with "@" starting a
// symbol in drawn labels).
#include <optional>
#include <string>
#include <string_view>

namespace ui::fltk {

// UTF-8 of a model text for a window title, a text area or an edit box. The five bytes that
// 1252 leaves undefined show as U+FFFD, so nothing the model holds is dropped silently.
std::string toDisplay(std::string_view ansi);

// The same for a label that FLTK draws: "@" doubled, so that "john@home" shows as written
// instead of starting a symbol. "&" keeps its meaning, which is the model's too (underline the
// next character, "&&" a literal "&").
std::string toLabel(std::string_view ansi);

// What the user typed, in 1252; nullopt when a character has no 1252 byte.
std::optional<std::string> fromDisplay(std::string_view utf8);

}  // namespace ui::fltk
