// TDataSource: connects data links (controls) to a dataset, passes the
// dataset's data events on to them and tells the form about state and data
// changes.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/data/component.h"
#include "toolkit/data/db_types.h"

namespace vesk {

class TDataLink;
class TDataSource;

using TDataSourceNotifyEvent = std::function<void(TDataSource&)>;
// field is nullptr when the record as a whole changed.
using TDataChangeEvent = std::function<void(TDataSource&, TField* field)>;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* owner = nullptr);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataset_; }
  void SetDataSet(TDataSet* dataset);
  // Typing into a control starts editing (Edit) by itself; default on.
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool on) { autoEdit_ = on; }
  // A disabled source shows its links an inactive dataset.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  // The dataset's state as the links see it.
  TDataSetState State() const { return state_; }
  // Starts editing when AutoEdit is on and the dataset is browsing.
  void Edit();

  TDataSourceNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TDataSourceNotifyEvent OnUpdateData;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);
  const std::vector<TDataLink*>& Links() const { return links_; }
  void DataEvent(TDataEvent event, TField* field, int distance);
  void UpdateState();

  TDataSet* dataset_ = nullptr;
  std::vector<TDataLink*> links_;
  bool autoEdit_ = true;
  bool enabled_ = true;
  TDataSetState state_ = dsInactive;
};

}  // namespace vesk
