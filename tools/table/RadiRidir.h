// TRadiRidir: the dataset over one radiridir table. It implements the record
// buffer operations of TDataSet over the engine's C interface: navigation,
// editing with lock states, bookmarks over engine marks, field data, blob
// streams, and filtering through two record tests the engine runs while it
// moves (the OnFilterRecord event and the Filter expression).
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/data/dataset.h"
#include "tools/filter/expr_filter.h"
#include "tools/table/RadiRidirCandidates.h"

namespace vesk {

class TBlobStream;

class TRadiRidir : public TDataSet {
 public:
  explicit TRadiRidir(TComponent* owner = nullptr);
  ~TRadiRidir() override;

  bool ReadOnly() const { return readOnly_; }
  // Only while closed.
  void SetReadOnly(bool readOnly);
  const std::string& TableName() const { return tableName_; }
  // Only while closed; warns (message box) about a missing file or a name
  // that does not end in ".MTI" or "._MT", and stores the name anyway.
  void SetTableName(std::string name);
  // The engine's current index while open, empty while closed.
  std::string IndexName() const;
  // While loading the name waits for Loaded; otherwise the index becomes the
  // order and the dataset moves to the first record.
  void SetIndexName(std::string name);
  // Open for writing and without an index of that name: adds the index over
  // the fields (names separated by ";"), as a table made by hand or by an
  // older version may lack it. A table open for reading is left as it is.
  void AddIndexWhenMissing(const std::string& name, std::string_view fieldNames, bool caseInsensitive = false);
  // The identity of the current record, which the engine never gives to
  // another record of the table; 0 on an empty dataset or a new record.
  int32_t RecordIdentity() const;
  const std::string& About() const { return about_; }
  void SetAbout(std::string about) { about_ = std::move(about); }

  // --- TDataSet operations replaced
  bool GetCanModify() const override;
  int GetRecNo() const override;
  void SetRecNo(int recNo) override;
  int GetRecordCount() const override;
  TBookmark GetBookmark() override;
  void FreeBookmark(TBookmark& bookmark) override;
  bool BookmarkValid(const TBookmark& bookmark) override;
  int CompareBookmarks(const TBookmark& a, const TBookmark& b) override;
  bool GetCurrentRecord(char* buffer) override;
  bool GetFieldData(TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  Variant GetStateFieldValue(TDataSetState state, TField* field) override;
  void InternalHandleException(const std::exception& error) override;
  bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options) override;
  Variant Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields) override;
  void SetFilterText(std::string text) override;
  void SetFiltered(bool filtered) override;
  void SetFilterOptions(TFilterOptions options) override;
  void SetOnFilterRecord(TFilterRecordEvent handler) override;

 protected:
  void Loaded() override;
  void ClearCalcFields(char* buffer) override;
  bool FindRecord(bool restart, bool forward) override;
  void InternalCancel() override;
  void InternalEdit() override;
  void InternalInsert() override;
  char* AllocRecordBuffer() override;
  void FreeRecordBuffer(char*& buffer) override;
  void GetBookmarkData(const char* buffer, char* data) override;
  TBookmarkFlag GetBookmarkFlag(const char* buffer) override;
  TGetResult GetRecord(char* buffer, TGetMode mode, bool doCheck) override;
  int GetRecordSize() const override;
  void InternalClose() override;
  void InternalDelete() override;
  void InternalFirst() override;
  void InternalGotoBookmark(const char* bookmark) override;
  void InternalInitFieldDefs() override;
  void InternalInitRecord(char* buffer) override;
  void InternalLast() override;
  void InternalOpen() override;
  void InternalPost() override;
  void InternalRefresh() override;
  void InternalSetToRecord(char* buffer) override;
  bool IsCursorOpen() const override { return cursorOpen_; }
  void SetBookmarkFlag(char* buffer, TBookmarkFlag flag) override;
  void SetBookmarkData(char* buffer, const char* data) override;

 private:
  friend class TBlobStream;
  friend class TRadiRidirEngine;

  // Where and how big one engine field is in the record (ordinal 13).
  struct EngineField {
    int32_t offset = 0;
    int32_t size = 0;
    char letter = 0;
  };

  // Buffer layout: after the engine record, the calculated area, then the
  // record information (number, lock state, bookmark flag) and the bookmark.
  int32_t RecNoOf(const char* buffer) const;
  void StoreRecNo(char* buffer, int32_t recNo) const;
  uint8_t& LockStateOf(char* buffer) const;
  int32_t IdentityOf(const char* buffer) const;
  // The buffer field access works on in the current state; nullptr when none.
  char* ActiveRecordBuffer() const;
  const EngineField& FieldAt(int32_t index) const;
  void ApplyConstraints();
  void ApplyDefault(int32_t index, std::string_view text, char* buffer) const;

  // Engine failures: an ERadiRidirError with the engine's last error text.
  [[noreturn]] void RaiseEngineError() const;
  void Check(bool ok) const;
  // For the engine calls without a result: fails when an error text is left.
  void CheckLastCall() const;
  // Runs body; any failure becomes the engine's error.
  template <typename Body>
  auto EngineGuard(Body&& body) const;

  // A temporary state for the guard's lifetime.
  struct TempState {
    TempState(TRadiRidir& table, TDataSetState state) : table(table), previous(table.SetTempState(state)) {}
    ~TempState() { table.RestoreState(previous); }
    TRadiRidir& table;
    TDataSetState previous;
  };

  // Filtering (record tests and switches). The tests are the engine's
  // record tests: 1 accepts the candidate record.
  static uint8_t EventTest(void* data, const uint8_t* record);
  static uint8_t ExpressionTest(void* data, const uint8_t* record);
  // The candidate record into the filter buffer, for the fields to show.
  void LoadFilterBuffer(const uint8_t* record);
  void SetupFilter();
  // How the candidate condition may use the field of that name.
  CandidateField CandidateFieldOf(const std::string& name) const;
  // Tells the engine the candidate condition of the expression in force.
  void PassCandidates();
  void RefreshEngineFilter();
  // The filter or the way it is applied has changed: the count is taken
  // anew, and a failing test is reported again (once).
  void FilterChanged();
  // Shows the failure of a record test, once until the filter changes.
  void ReportTestFailure(const std::exception& error);
  bool Search(std::string_view keyFields, const Variant& keyValues, TLocateOptions options, bool moveCursor);

  int32_t handle_ = 0;
  int32_t bookmarkOffset_ = 0;
  int32_t calcOffset_ = 0;
  bool cursorOpen_ = false;
  int32_t bufferSize_ = 0;
  int32_t recInfoOffset_ = 0;
  int32_t recordSize_ = 0;
  std::string tableName_;
  uint8_t lastMove_ = 0;  // 1 right after a move to the first record, 2 to the last
  bool writable_ = false;
  bool readOnly_ = false;
  std::string pendingIndexName_;
  std::vector<char> filterBuffer_;
  char* oldValueBuffer_ = nullptr;
  std::vector<EngineField> engineFields_;
  bool useEventTest_ = false;
  bool useExpressionTest_ = false;
  TExprFilter exprFilter_;
  bool setupPending_ = false;
  bool testFailureShown_ = false;
  // The record count of a dataset filtered by its expression alone, which
  // otherwise runs the filter over every record each time it is asked;
  // -1 until counted, and again when the filter, the table or its records
  // change. An OnFilterRecord handler may decide by anything, so its counts
  // are never kept.
  mutable int32_t filteredCount_ = -1;
  std::string about_;
};

template <typename Body>
auto TRadiRidir::EngineGuard(Body&& body) const {
  try {
    return body();
  } catch (const std::exception&) {
    RaiseEngineError();
  }
}

}  // namespace vesk
