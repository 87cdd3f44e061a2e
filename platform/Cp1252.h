#pragma once
// Code page 1252, the ANSI code page of a Western Windows: the system's own texts are bytes in
// it. Conversions to and from the host's UTF-8 and the letter-case rules live here and nowhere
// else.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 text of a code page 1252 text. Every 1252 byte has a UTF-8 form except the five
// undefined ones (0x81, 0x8D, 0x8F, 0x90, 0x9D); those give nullopt.
std::optional<std::string> ansiToUtf8(std::string_view ansi);

// Code page 1252 text of a UTF-8 text; nullopt when a character has no 1252 byte or the UTF-8
// is malformed. Never guesses a replacement.
std::optional<std::string> utf8ToAnsi(std::string_view utf8);

// The 16-bit unit that the 1252 byte stands for (0x80..0x9F map to their Unicode letters,
// e.g. 0x80 -> U+20AC); undefined bytes keep their own value.
char16_t ansiToWide(unsigned char byte);

// The 1252 byte of a 16-bit unit; nullopt when 1252 has none.
std::optional<unsigned char> wideToAnsi(char16_t unit);

// Lower case of one 1252 byte with a Western Windows' rules: A-Z and the accented capitals
// (0xC0..0xDE except 0xD7, and 0x8A, 0x8C, 0x8E, 0x9F) become their small letters.
unsigned char ansiToLower(unsigned char byte);
std::string ansiToLower(std::string_view text);

// Equal ignoring 1252 letter case.
bool ansiEqualsIgnoreCase(std::string_view a, std::string_view b);

// NTFS-like order: compares upper-cased bytes (case-insensitive name order).
int ansiCompareIgnoreCase(std::string_view a, std::string_view b);

// Whole texts between code page 1252 and 16-bit units (the wide texts of the database engine).
// wideToAnsiText gives nullopt when a unit has no 1252 byte.
std::u16string ansiToWideText(std::string_view ansi);
std::optional<std::string> wideToAnsiText(std::u16string_view wide);

}  // namespace platform
