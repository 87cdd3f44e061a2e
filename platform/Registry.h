#pragma once
// HKEY_CURRENT_USER, read from the Wine prefix's user.reg. Read only: nothing is ever written.
//
// The file is Wine's text form of the hive:
//   WINE REGISTRY Version 2
//   [Software\\LDS Church\\FamilySearch] 1700000000      <- a key: its path, then a timestamp
//   #time=1d9...                                          <- comments and metadata: ignored
//   "File1"="C:\\Family\\smith.paf"                       <- a text value (REG_SZ)
//   "Path"=str(2):"%USERPROFILE%\\x"                      <- an expandable text (REG_EXPAND_SZ)
//   "Count"=dword:00000004                                <- other types: values, but not text
//   @="default value"                                     <- the key's unnamed value
// Key paths and names are relative to HKEY_CURRENT_USER, compared ignoring letter case. Inside
// quotes, "\" escapes as Wine writes them: \\ \" \n \r \t \a \b \e \f \v, \xH to \xHHHH (a
// UTF-16 unit), \0 to \377 (octal); any other escaped character stands for itself. Characters
// outside the escapes are UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryKey {
 public:
  // The key of HKEY_CURRENT_USER at keyPath ("Software\LDS Church\...", code page 1252; a
  // leading "\" is allowed). nullopt when there is no prefix, no readable user.reg, or no key
  // of that path. Never creates anything.
  static std::optional<RegistryKey> openCurrentUser(std::string_view keyPath);

  // The same search in the text of a user.reg.
  static std::optional<RegistryKey> find(std::string_view hiveText, std::string_view keyPath);

  bool hasValue(std::string_view name) const;

  // The text of a REG_SZ or REG_EXPAND_SZ value in code page 1252 (up to its first NUL).
  // nullopt when the value is absent, is not text, is malformed, or holds a character that
  // code page 1252 has not.
  std::optional<std::string> readText(std::string_view name) const;

 private:
  struct Value {
    std::string name;                 // code page 1252
    std::optional<std::string> text;  // see readText
  };
  const Value* value(std::string_view name) const;
  std::vector<Value> values_;
};

}  // namespace platform
