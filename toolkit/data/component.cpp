#include "toolkit/data/component.h"

#include <algorithm>

namespace vesk {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Each owned component leaves the list as it is deleted.
  while (!components_.empty()) delete components_.back();
  if (owner_ != nullptr) std::erase(owner_->components_, this);
}

void TComponent::BeginLoading() {
  loading_ = true;
  for (TComponent* component : components_) component->BeginLoading();
}

void TComponent::EndLoading() {
  // A copy: Loaded may create or free components.
  const std::vector<TComponent*> owned = components_;
  for (TComponent* component : owned)
    if (std::find(components_.begin(), components_.end(), component) != components_.end()) component->EndLoading();
  if (loading_) Loaded();
}

void TComponent::Loaded() { loading_ = false; }

}  // namespace vesk
