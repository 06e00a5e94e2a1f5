// TDataLink: what a data-aware control holds to follow a dataset through a
// data source. It asks for BufferCount record buffers (a grid its visible
// rows, an edit one), sees its window of them, and is told of activation,
// scrolling, record and field changes, editing and the moment to write its
// input back (UpdateData).
#pragma once

#include "toolkit/data/db_types.h"

namespace vesk {

class TDataSource;

class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  bool Active() const { return active_; }
  bool Editing() const { return editing_; }

  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int count);
  // Index of the dataset's active record within this link's window of
  // buffers, 0 .. BufferCount - 1.
  int ActiveRecord() const;
  // Makes the record at that index of the window the active one (a grid
  // reading its rows); restore it afterwards.
  void SetActiveRecord(int index);
  // Records in this link's window.
  int RecordCount() const;
  // Starts editing through the data source (AutoEdit); whether now editing.
  bool Edit();
  // Writes the control's pending input (UpdateData), once.
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
  virtual void LayoutChanged() { DataSetChanged(); }
  // field nullptr: the whole record.
  virtual void RecordChanged(TField* /*field*/) {}
  virtual void EditingChanged() {}
  virtual void UpdateData() {}
  virtual void CheckBrowseMode() {}

 private:
  friend class TDataSource;
  friend class TDataSet;
  void DataEvent(TDataEvent event, TField* field, int distance);
  void UpdateState();
  // Keeps the window around the dataset's active record.
  void UpdateRange();
  int FirstRecord() const { return firstRecord_; }
  void MoveFirstRecord(int delta) { firstRecord_ += delta; }

  TDataSource* dataSource_ = nullptr;
  int bufferCount_ = 1;
  int firstRecord_ = 0;
  bool active_ = false;
  bool editing_ = false;
  bool updating_ = false;
};

}  // namespace vesk
