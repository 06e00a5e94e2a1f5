// TMemoryDataSet: a dataset over records kept in a std::vector, built the
// way a real table is built on TDataSet (record buffers with presence bytes,
// a calculated area and record information; a cursor that stands on a
// record or before the first / after the last). The tests drive TDataSet
// through it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "runtime/variant.h"
#include "toolkit/data/dataset.h"

namespace vesk {

class TMemoryDataSet : public TDataSet {
 public:
  explicit TMemoryDataSet(TComponent* owner = nullptr);
  ~TMemoryDataSet() override;

  // Columns, before opening.
  void AddColumn(std::string name, TFieldType type, int size = 0, bool required = false);
  // A stored record, values in column order (Null: no value; blobs as text).
  void AddRow(const std::vector<Variant>& values);
  int StoredCount() const { return static_cast<int>(records_.size()); }

  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  void SetFailOpen(bool fail) { failOpen_ = fail; }
  // The next count posts fail with an EDatabaseError.
  void SetFailingPosts(int count) { failingPosts_ = count; }
  // Records fetched by GetRecord so far.
  int Fetches() const { return fetches_; }
  // Record buffers currently allocated.
  int LiveBuffers() const { return liveBuffers_; }

  bool GetFieldData(TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  Variant GetStateFieldValue(TDataSetState state, TField* field) override;
  bool GetCanModify() const override { return !readOnly_; }
  int GetRecNo() const override;
  void SetRecNo(int recNo) override;
  int GetRecordCount() const override;
  bool BookmarkValid(const TBookmark& bookmark) override;
  Variant Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields) override;

 protected:
  char* AllocRecordBuffer() override;
  void FreeRecordBuffer(char*& buffer) override;
  TGetResult GetRecord(char* buffer, TGetMode mode, bool doCheck) override;
  int GetRecordSize() const override { return recordSize_; }
  void GetBookmarkData(const char* buffer, char* data) override;
  void SetBookmarkData(char* buffer, const char* data) override;
  TBookmarkFlag GetBookmarkFlag(const char* buffer) override;
  void SetBookmarkFlag(char* buffer, TBookmarkFlag flag) override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return open_; }
  void InternalInitFieldDefs() override;
  void InternalInitRecord(char* buffer) override;
  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override { cursor_ = static_cast<int>(records_.size()); }
  void InternalSetToRecord(char* buffer) override;
  void InternalGotoBookmark(const char* bookmark) override;
  void InternalPost() override;
  void InternalCancel() override { pendingBlobs_.clear(); }
  void InternalDelete() override;
  void ClearCalcFields(char* buffer) override;
  bool FindRecord(bool restart, bool forward) override;

 private:
  struct Column {
    std::string name;
    TFieldType type;
    int size;
    bool required;
  };
  struct Record {
    int id;
    std::vector<char> data;
    std::map<int, std::string> blobs;
  };
  // Record information after the calculated area: the record's id (its
  // bookmark), then the bookmark flag.
  int32_t IdOf(const char* buffer) const;
  void SetId(char* buffer, int32_t id) const;
  static int ValueSize(const Column& column);
  static bool IsBlobType(TFieldType type);
  void Layout();
  int IndexOf(int id) const;
  // The record buffer the state reads and writes; nullptr when none.
  char* RecordBuffer() const;
  bool Accepted(int index);
  std::string* BlobFor(int column, bool writing);

  std::vector<Column> columns_;
  std::vector<int> offsets_;
  std::vector<Record> records_;
  int nextId_ = 1;
  int cursor_ = -1;
  bool open_ = false;
  bool readOnly_ = false;
  bool failOpen_ = false;
  int recordSize_ = 0;
  int infoOffset_ = 0;
  int bufferSize_ = 0;
  std::vector<char> filterBuffer_;
  char* oldValueBuffer_ = nullptr;
  std::map<int, std::string> pendingBlobs_;
  int failingPosts_ = 0;
  int fetches_ = 0;
  int liveBuffers_ = 0;
};

}  // namespace vesk
