#include "platform/vcl/Classes.h"

#include <algorithm>

#include "platform/vcl/Backend.h"

namespace vcl {
namespace {

bool sameName(const std::string& a, const std::string& b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
         });
}

}  // namespace

TComponent::TComponent(TComponent* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  destroyComponents();
  backend().destroying(*this);
  if (owner_ != nullptr) std::erase(owner_->components_, this);
}

TComponent* TComponent::findComponent(const std::string& name) const {
  for (TComponent* component : components_) {
    if (sameName(component->name(), name)) return component;
  }
  return nullptr;
}

void TComponent::destroyComponents() {
  while (!components_.empty()) {
    TComponent* newest = components_.back();
    delete newest;  // its destructor takes it out of components_
  }
}

}  // namespace vcl
