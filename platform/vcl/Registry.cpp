#include "platform/vcl/Registry.h"

namespace vcl {

void TRegistry::setRootKey(HKEY root) {
  closeKey();
  rootKey_ = root;
}

bool TRegistry::openKey(const std::string& key, bool /*canCreate*/) {
  std::string path;
  if (!key.empty() && key.front() == '\\') {
    path = key.substr(1);
  } else if (current_ && !currentPath_.empty()) {
    path = currentPath_ + "\\" + key;
  } else {
    path = key;
  }
  closeKey();
  if (rootKey_ != HKEY_CURRENT_USER) return false;
  current_ = platform::RegistryKey::openCurrentUser(path);
  if (!current_) return false;
  currentPath_ = path;
  return true;
}

void TRegistry::closeKey() {
  current_.reset();
  currentPath_.clear();
}

std::string TRegistry::readString(const std::string& name) const {
  if (!current_) return {};
  return current_->readText(name).value_or("");
}

bool TRegistry::valueExists(const std::string& name) const { return current_ && current_->hasValue(name); }

}  // namespace vcl
