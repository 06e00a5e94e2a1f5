#include "toolkit/data/data_source.h"

#include <algorithm>

#include "toolkit/data/data_link.h"
#include "toolkit/data/dataset.h"

namespace vesk {

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  Destroying();
  for (TDataLink* link : std::vector<TDataLink*>(links_)) link->SetDataSource(nullptr);
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataset) {
  if (dataset == dataset_) return;
  if (dataset_ != nullptr) dataset_->RemoveDataSource(this);
  dataset_ = dataset;
  if (dataset_ != nullptr) dataset_->AddDataSource(this);
  UpdateState();
}

void TDataSource::SetEnabled(bool on) {
  enabled_ = on;
  UpdateState();
}

void TDataSource::Edit() {
  if (autoEdit_ && state_ == dsBrowse) dataset_->Edit();
}

void TDataSource::AddLink(TDataLink* link) {
  links_.push_back(link);
  if (dataset_ != nullptr) dataset_->UpdateBufferCount();
}

void TDataSource::RemoveLink(TDataLink* link) {
  std::erase(links_, link);
  if (dataset_ != nullptr) dataset_->UpdateBufferCount();
}

void TDataSource::UpdateState() {
  const TDataSetState state = enabled_ && dataset_ != nullptr ? dataset_->State() : dsInactive;
  if (state == state_) return;
  const TDataSetState prior = state_;
  state_ = state;
  for (TDataLink* link : std::vector<TDataLink*>(links_)) link->UpdateState();
  if (IsDestroying()) return;
  if (OnStateChange) OnStateChange(*this);
  if (prior == dsInactive && OnDataChange) OnDataChange(*this, nullptr);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int distance) {
  if (event == deUpdateState) {
    UpdateState();
    return;
  }
  if (state_ == dsInactive) return;
  for (TDataLink* link : std::vector<TDataLink*>(links_)) link->DataEvent(event, field, distance);
  switch (event) {
    case deFieldChange:
      if (OnDataChange) OnDataChange(*this, field);
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(*this, nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(*this);
      break;
    default: break;
  }
}

}  // namespace vesk
