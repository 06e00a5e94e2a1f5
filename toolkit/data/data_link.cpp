#include "toolkit/data/data_link.h"

#include <algorithm>

#include "toolkit/data/data_source.h"
#include "toolkit/data/dataset.h"

namespace vesk {

TDataLink::~TDataLink() {
  if (dataSource_ != nullptr) dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  if (dataSource_ != nullptr) dataSource_->RemoveLink(this);
  dataSource_ = source;
  if (dataSource_ != nullptr) dataSource_->AddLink(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const { return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr; }

void TDataLink::SetBufferCount(int count) {
  count = std::max(count, 1);
  if (count == bufferCount_) return;
  bufferCount_ = count;
  if (!active_) return;
  UpdateRange();
  DataSet()->UpdateBufferCount();
  UpdateRange();
}

int TDataLink::ActiveRecord() const { return active_ ? DataSet()->activeRecord_ - firstRecord_ : 0; }

void TDataLink::SetActiveRecord(int index) {
  if (active_ && index >= 0 && index < RecordCount()) DataSet()->activeRecord_ = index + firstRecord_;
}

int TDataLink::RecordCount() const {
  if (!active_) return 0;
  return std::clamp(DataSet()->recordCount_ - firstRecord_, 0, bufferCount_);
}

bool TDataLink::Edit() {
  if (dataSource_ != nullptr) dataSource_->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{updating_};
  updating_ = true;
  UpdateData();
}

void TDataLink::UpdateState() {
  const TDataSetState state = dataSource_ != nullptr ? dataSource_->State() : dsInactive;
  const bool active = state != dsInactive;
  if (active != active_) {
    active_ = active;
    if (active_)
      UpdateRange();
    else
      firstRecord_ = 0;
    ActiveChanged();
  }
  const bool editing = IsEditState(state);
  if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

void TDataLink::UpdateRange() {
  const TDataSet* dataset = DataSet();
  const int low = std::max(dataset->activeRecord_ - bufferCount_ + 1, 0);
  const int high = std::min(std::max(dataset->bufferCount_ - bufferCount_, 0), dataset->activeRecord_);
  firstRecord_ = std::max(std::min(firstRecord_, high), low);
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int distance) {
  if (!active_) return;
  switch (event) {
    case deFieldChange:
    case deRecordChange:
      if (!updating_) RecordChanged(field);
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      // Follow the records the buffers shifted by, then keep the active one in the window.
      const int active = DataSet()->activeRecord_;
      const int first = firstRecord_ + distance;
      const int last = first + bufferCount_ - 1;
      int scrolled = 0;
      if (active > last)
        scrolled = active - last;
      else if (active < first)
        scrolled = active - first;
      firstRecord_ = std::max(first + scrolled, 0);
      if (event == deDataSetChange)
        DataSetChanged();
      else if (event == deDataSetScroll)
        DataSetScrolled(scrolled);
      else
        LayoutChanged();
      break;
    }
    case deUpdateRecord: UpdateRecord(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    default: break;
  }
}

}  // namespace vesk
