// TComponent: the small base of everything a form holds - a name, an owner
// that frees what it owns, and the loading phase in which a form sets the
// stored properties before Loaded lets the component act on them.
#pragma once

#include <string>
#include <vector>

namespace vesk {

class TComponent {
 public:
  // Components with an owner are created with new; the owner deletes them.
  explicit TComponent(TComponent* owner = nullptr);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Loading phase: BeginLoading marks this component and those it owns as
  // loading; EndLoading runs Loaded on the owned ones (in creation order),
  // then on this one.
  bool IsLoading() const { return loading_; }
  void BeginLoading();
  void EndLoading();

  bool IsDestroying() const { return destroying_; }

 protected:
  // Ends the loading phase of this component; overrides call the base first.
  virtual void Loaded();
  // Called at the start of a destructor that still has work to do with the
  // component (closing a dataset), so that no user events run.
  void Destroying() { destroying_ = true; }

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
  std::string name_;
  bool loading_ = false;
  bool destroying_ = false;
};

}  // namespace vesk
