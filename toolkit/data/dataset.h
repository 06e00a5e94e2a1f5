// TDataSet: the base of every dataset. The derived class supplies record
// buffers and fetches records into them (GetRecord with gmCurrent, gmNext,
// gmPrior); this class keeps a ring of BufferCount buffers around the active
// record, as many as the largest request of the attached data links, and
// drives it for navigation, editing, bookmarks and searches, runs the state
// machine and the events, and owns the fields.
//
// Derived classes: implement the pure virtual operations; in InternalOpen
// fill FieldDefs (InternalInitFieldDefs), call CreateFields when
// DefaultFields() and then BindFields(true); in InternalClose call
// BindFields(false) and DestroyFields when DefaultFields(); in SetFieldData
// call field->Validate(buffer) before storing and DataEvent(deFieldChange,
// field) after; in the destructor call Destroying() and Close().
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"
#include "toolkit/data/component.h"
#include "toolkit/data/db_types.h"
#include "toolkit/data/field_def.h"

namespace vesk {

class TDataSource;
class TDataLink;
class TStream;

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* owner = nullptr);
  ~TDataSet() override;

  // --- Opening and state
  bool Active() const { return state_ != dsInactive; }
  // While loading, the value is remembered and applied in Loaded.
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  bool Modified() const { return modified_; }
  // CheckBrowseMode of a closed dataset raises kSDataSetClosed.
  void CheckActive() const;
  void CheckInactive() const;

  // --- Navigation
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // The distance actually moved.
  int MoveBy(int distance);
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return recordCount_ == 0; }
  // Number of the active record from 1; -1 where the dataset cannot tell.
  int RecNo() const { return GetRecNo(); }
  // The base cannot move to a number: nothing happens.
  virtual void SetRecNo(int /*recNo*/) {}
  int RecordCount() const { return GetRecordCount(); }
  // Reads the buffers again around the record the storage cursor stands on
  // (the active one after UpdateCursorPos): rmExact fails with
  // kSRecordNotFound when that record is gone, otherwise the next or prior
  // record takes its place; rmCenter puts it in the middle of the buffers,
  // else it keeps the active record's row.
  void Resync(TResyncMode mode);
  // Leaves browse-mode edits, lets the derived class refresh, re-reads.
  void Refresh();

  // --- Editing
  void Edit();
  void Insert();
  void Append();
  // Checks Required fields, then stores the record.
  void Post();
  void Cancel();
  void Delete();
  // Posts a pending edit when modified, cancels it otherwise.
  void CheckBrowseMode();
  // Asks the controls to write their pending input to the fields.
  void UpdateRecord();
  bool CanModify() const { return GetCanModify(); }

  // --- Bookmarks
  int BookmarkSize() const { return bookmarkSize_; }
  // Empty when the active record has none (empty dataset, new record).
  virtual TBookmark GetBookmark();
  void GotoBookmark(const TBookmark& bookmark);
  virtual void FreeBookmark(TBookmark& bookmark);
  // The base cannot tell: false.
  virtual bool BookmarkValid(const TBookmark& bookmark);
  // 0 when equal; the base orders the bytes.
  virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b);

  // --- Searching
  // Over FindRecord(restart, forward); Found tells the last result.
  bool FindFirst();
  bool FindNext();
  bool FindPrior();
  bool FindLast();
  bool Found() const { return found_; }
  // Key field names separated by ";"; one value, or an array of values for
  // several fields. The base has no search: false / Null.
  virtual bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options);
  virtual Variant Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields);

  // --- Filtering (the base only stores the values)
  const std::string& Filter() const { return filterText_; }
  virtual void SetFilterText(std::string text);
  bool Filtered() const { return filtered_; }
  virtual void SetFiltered(bool filtered);
  TFilterOptions FilterOptions() const { return filterOptions_; }
  virtual void SetFilterOptions(TFilterOptions options);
  const TFilterRecordEvent& OnFilterRecord() const { return onFilterRecord_; }
  virtual void SetOnFilterRecord(TFilterRecordEvent handler);

  // --- Fields
  TFieldDefs& FieldDefs() { return fieldDefs_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int index) const { return fields_.at(index); }
  // Names compare as SameFieldName; FieldByName raises kSFieldNotFound
  // (with "Name: " in front when the dataset has a name).
  TField* FindField(std::string_view name) const;
  TField* FieldByName(std::string_view name) const;
  TField* FieldByNumber(int fieldNo) const;
  // Fields of the names separated by ";" (each must exist).
  std::vector<TField*> GetFieldList(std::string_view names) const;
  // One value, or an array for several names.
  Variant FieldValues(std::string_view names) const;
  bool AutoCalcFields() const { return autoCalcFields_; }
  void SetAutoCalcFields(bool on) { autoCalcFields_ = on; }
  // Bytes of the calculated area of a record buffer: for each calculated or
  // lookup field a presence byte and its DataSize.
  int CalcFieldsSize() const { return calcFieldsSize_; }
  int RecordSize() const { return GetRecordSize(); }

  // --- Services for fields, streams and the table layers
  virtual bool GetFieldData(TField* field, void* buffer) = 0;
  virtual void SetFieldData(TField* field, const void* buffer) = 0;
  // The base has no blobs: EDatabaseError.
  virtual std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode);
  // The field's value as the given state (old or new value) sees it.
  virtual Variant GetStateFieldValue(TDataSetState state, TField* field);
  // Copies the active record into buffer; false when there is none.
  virtual bool GetCurrentRecord(char* buffer);
  virtual bool GetCanModify() const { return true; }
  virtual int GetRecNo() const { return -1; }
  virtual int GetRecordCount() const { return -1; }
  // Shows the exception with the application's default error display.
  virtual void InternalHandleException(const std::exception& error);
  void DataEvent(TDataEvent event, TField* field = nullptr, int distance = 0);

  // --- Events, run in this order of names by the operations above
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnCalcFields;
  TDataSetErrorEvent OnDeleteError, OnEditError;
  TDataSetNotifyEvent OnNewRecord;
  TDataSetErrorEvent OnPostError;

 protected:
  // --- Record buffers and fetching, supplied by the derived class
  virtual char* AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(char*& buffer) = 0;
  virtual TGetResult GetRecord(char* buffer, TGetMode mode, bool doCheck) = 0;
  virtual int GetRecordSize() const = 0;
  virtual void GetBookmarkData(const char* buffer, char* data) = 0;
  virtual void SetBookmarkData(char* buffer, const char* data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(const char* buffer) = 0;
  virtual void SetBookmarkFlag(char* buffer, TBookmarkFlag flag) = 0;
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalInitFieldDefs() = 0;
  // A blank new record.
  virtual void InternalInitRecord(char* buffer) = 0;
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  // Brings the storage cursor to the record in buffer / of the bookmark.
  virtual void InternalSetToRecord(char* buffer) = 0;
  virtual void InternalGotoBookmark(const char* bookmark) = 0;
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  virtual void InternalPost() = 0;
  virtual void InternalCancel() {}
  // Leaves the storage cursor on the record after the deleted one (or the
  // one before it at the end).
  virtual void InternalDelete() = 0;
  virtual void InternalRefresh() {}
  virtual void ClearCalcFields(char* /*buffer*/) {}
  // The base finds nothing.
  virtual bool FindRecord(bool restart, bool forward);
  void Loaded() override;

  // --- Services for the derived class
  char* ActiveBuffer() const;
  char* CalcBuffer() const { return calcBuffer_; }
  // A spare buffer for one-off reads (old values).
  char* TempBuffer() const;
  // The record buffer that field reads and writes address in the current
  // state: the active buffer, the calculated-field buffer, or the derived
  // class's own buffers for filter tests and old values; nullptr when there
  // is no record to address.
  char* StateBuffer(char* filterBuffer, char* oldValueBuffer) const;
  int BufferCount() const { return bufferCount_; }
  void SetBookmarkSize(int size) { bookmarkSize_ = size; }
  bool DefaultFields() const { return defaultFields_; }
  void CreateFields();
  void DestroyFields();
  // Binding gives data fields their FieldDefs' numbers and calculated and
  // lookup fields their offsets (and computes CalcFieldsSize).
  void BindFields(bool binding);
  // The storage cursor moved away from the record of the current buffer.
  void CursorPosChanged() { currentRecord_ = -1; }
  // Brings the storage cursor back to the active record.
  void UpdateCursorPos();
  // Temporary states around tests, searches and calculations; data sources
  // hear nothing meanwhile.
  TDataSetState SetTempState(TDataSetState state);
  void RestoreState(TDataSetState state);
  // Computes the calculated and lookup fields of buffer (in dsCalcFields).
  void GetCalcFields(char* buffer);
  void DoBeforeScroll();
  void DoAfterScroll();
  void SetModified(bool modified) { modified_ = modified; }
  // A blank record with its calculated area cleared, flagged bfInserted.
  void InitRecord(char* buffer);

 private:
  friend class TField;
  friend class TDataSource;
  friend class TDataLink;
  class TempStateGuard;

  // Field list membership (TField::SetDataSet).
  void AddField(TField* field);
  void RemoveField(TField* field);
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);

  void SetState(TDataSetState state);
  void OpenCursor();
  void CloseCursor();
  void Run(const TDataSetNotifyEvent& event);
  void RunOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& onError);
  void CheckCanModify() const;
  void CheckRequiredFields() const;
  void BeginInsertAppend();
  void EndInsertAppend();
  void CalculateFields(char* buffer);
  void CalcLookupValue(TField* field);
  void FreeFieldBuffers();

  // The buffer ring.
  void MoveToEnd(bool first);
  void UpdateBufferCount();
  void SetBufferCount(int count);
  void SetBufListSize(int size);
  void MoveBuffer(int from, int to);
  void SetCurrentRecord(int index);
  // GetRecord into the buffer after the last record.
  bool FetchIntoSpare(TGetMode mode);
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void ActivateBuffers();
  void ClearBuffers();
  std::vector<TDataLink*> ActiveLinks() const;

  TDataSetState state_ = dsInactive;
  bool modified_ = false;
  bool streamedActive_ = false;
  bool openComplete_ = false;
  bool found_ = false;
  int tempStateDepth_ = 0;

  std::vector<char*> buffers_;  // bufferCount_ + 1: the last is the spare
  int bufferCount_ = 0;
  int recordCount_ = 0;     // buffers that hold records
  int activeRecord_ = 0;    // index of the active buffer
  int currentRecord_ = -1;  // index of the buffer the storage cursor is on
  bool bof_ = true;
  bool eof_ = true;
  char* calcBuffer_ = nullptr;
  int bookmarkSize_ = 0;

  TFieldDefs fieldDefs_;
  std::vector<TField*> fields_;
  bool defaultFields_ = false;
  int calcFieldsSize_ = 0;
  bool autoCalcFields_ = true;

  std::string filterText_;
  bool filtered_ = false;
  TFilterOptions filterOptions_ = 0;
  TFilterRecordEvent onFilterRecord_;

  std::vector<TDataSource*> dataSources_;
};

}  // namespace vesk
