#pragma once
// The registry class: open a key and read text values from it. Only HKEY_CURRENT_USER holds
// anything (the Wine prefix's user.reg, see platform/Registry.h), and nothing is ever written.
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/vcl/Classes.h"

namespace vcl {

enum HKEY : unsigned {
  HKEY_CLASSES_ROOT = 0x80000000u,
  HKEY_CURRENT_USER = 0x80000001u,
  HKEY_LOCAL_MACHINE = 0x80000002u,
};

class TRegistry : public TObject {
 public:
  TRegistry() = default;  // root key HKEY_CURRENT_USER, as in the VCL

  HKEY rootKey() const { return rootKey_; }
  void setRootKey(HKEY root);

  // Opens a key: a path beginning with "\" starts at the root key, any other is relative to
  // the key open now (or the root). False when the key does not exist; it is never created,
  // so canCreate only matters in that the answer stays false. After a failed open no key is
  // open.
  bool openKey(const std::string& key, bool canCreate);
  void closeKey();

  // A text value of the open key; the empty text when no key is open or the value is absent,
  // not text, or has a character code page 1252 has not.
  std::string readString(const std::string& name) const;
  bool valueExists(const std::string& name) const;

 private:
  HKEY rootKey_ = HKEY_CURRENT_USER;
  std::string currentPath_;
  std::optional<platform::RegistryKey> current_;
};

}  // namespace vcl
