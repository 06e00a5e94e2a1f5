// One open table: its catalogue, the cursor over the current order, record
// tests, editing with held blob writes, marks and search. Failures throw
// EngineError; the C entry points turn them into results and error texts.
#ifndef VESK_ENGINE_TABLE_H
#define VESK_ENGINE_TABLE_H

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/catalogue.h"
#include "engine/id_sequence.h"
#include "engine/radiridir.h"
#include "engine/record_reader.h"
#include "engine/sql.h"
#include "engine/wal_index_watch.h"
#include "engine/writer_lock.h"

namespace vesk::engine {

class Table {
 public:
  // Opens an existing table file; throws EngineError with an OpenResult code.
  Table(const std::string& name, bool writable);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const Catalogue& Fields() const { return catalogue_; }
  const Field& FieldAt(int32_t field) const;  // throws when out of range

  // Records and editing.
  void GetRecord(uint8_t* buffer);
  void BlankRecord(uint8_t* buffer) const;
  void PutBuffer(const uint8_t* buffer);
  void StoreNew();
  void StoreOver();
  void Lock();
  void EndEdit();
  void Delete();
  void BatchBegin();
  void BatchCommit();
  void BatchRollback();

  // Cursor.
  void First();
  void Last();
  void Next();
  void Prior();
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool NoCurrent() const { return position_ == IdSequence::kNotFound; }
  int32_t RecNo() const;
  void GotoRecNo(int32_t number);
  int32_t RecordCount();
  int32_t CurrentId() const;

  // Marks.
  int32_t CreateMark(int32_t identity);
  void FreeMark(int32_t mark);
  bool GotoMark(int32_t mark);
  bool MarkNamesRecord(int32_t mark);

  // Indexes.
  // Adds an index to the catalogue and builds it; the cursor keeps its order.
  void AddIndex(const Index& index);
  std::string IndexName() const;
  int32_t IndexNumber(const std::string& name) const;
  void SelectIndex(int32_t number);
  int32_t SearchIndex(const std::vector<int32_t>& fields, bool case_sensitive) const;

  // Record tests.
  void SetTests(rr_record_test test1, void* data1, rr_record_test test2, void* data2);
  void EnableTests(bool use1, bool use2);
  void TestsOn(bool on) { tests_on_ = on; }
  bool TestFound() const { return found_; }

  bool Search(const std::vector<int32_t>& fields, uint8_t* key, int32_t index, int32_t partial_length,
              bool case_insensitive, bool move);

  int32_t Blob(int32_t operation, int32_t field, int32_t value, int32_t count, int32_t blob_mark, uint8_t* buffer);

 private:
  using BlobKey = std::pair<int32_t, int32_t>;  // identity, field

  void LoadOrder();
  // Rebuilds the text indexes when the file records no order or another
  // collator version than the one the table is now sorted with.
  void KeepTextOrder();
  // A reader's view of the file: a snapshot, renewed with the order when
  // the writer has changed the file since.
  void OpenSnapshot();
  void FollowWriter();
  int64_t DataVersion();
  bool TestsActive() const;
  // Runs the enabled tests on a record read into candidate_.
  bool Accepted();
  bool AcceptedAt(size_t position);
  // First accepted position from `from` going forward (+1) or back (-1).
  size_t Seek(size_t from, int direction);
  void StandOn(size_t position);
  void StandNowhere();
  size_t Current() const;  // throws without a current record
  void RequireWritable() const;
  void RequireOutsideTest() const;
  void Commit(sqlite3_stmt* stmt);
  // Position in the current order where a record with these values and
  // identity belongs.
  size_t OrderPosition(const uint8_t* record, int32_t identity);
  bool InStoredOrder(const uint8_t* a, int32_t a_id, const uint8_t* b, int32_t b_id) const;
  void BindHeldBlob(sqlite3_stmt* stmt, int parameter, int32_t field, int32_t identity);
  void DropHeldBlobs(int32_t identity);
  void ShowHeldBlobs(int32_t identity, uint8_t* buffer) const;
  bool RecordStored(int32_t identity);
  std::string& BlobContent(const BlobKey& key, bool for_writing);
  void LoadNextId();

  // Index number can seek the key fields compared as asked.
  bool IndexServes(int32_t number, const std::vector<int32_t>& fields, bool case_insensitive) const;
  bool Matches(const std::vector<int32_t>& fields, const uint8_t* key, int32_t prefix_chars, bool case_insensitive);
  bool SeekWithIndex(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                     bool case_insensitive, int32_t* identity);
  bool ScanCursor(const std::vector<int32_t>& fields, const uint8_t* key, int32_t prefix_chars,
                  bool case_insensitive, int32_t* identity);
  bool ScanOrder(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                 bool case_insensitive, int32_t* identity);
  sqlite3_stmt* CachedStatement(const std::string& sql);

  std::string name_;
  bool writable_;
  WriterLock writer_lock_;
  Database db_;
  Database watcher_;  // readers: a second connection that sees the writer's commits
  Statement data_version_;
  int64_t seen_version_ = 0;
  WalIndexWatch wal_index_;  // readers: asked before the second connection
  Catalogue catalogue_;
  int32_t index_ = 0;  // current order, 0: identity
  IdSequence ids_;
  RecordReader reader_;
  Statement insert_;
  Statement update_;
  Statement delete_;
  Statement exists_;
  std::unordered_map<std::string, Statement> statements_;

  size_t position_ = IdSequence::kNotFound;
  // After the current record went in another process: the position of the
  // record that followed it, where the next move continues.
  std::optional<size_t> gap_;
  bool bof_ = false;
  bool eof_ = false;
  bool found_ = false;

  std::vector<uint8_t> put_;
  std::vector<uint8_t> candidate_;
  std::vector<uint8_t> probe_;
  int64_t next_id_ = 1;
  bool in_batch_ = false;

  rr_record_test tests_[2] = {nullptr, nullptr};
  void* test_data_[2] = {nullptr, nullptr};
  bool use_test_[2] = {false, false};
  bool tests_on_ = false;
  bool in_test_ = false;

  std::unordered_map<int32_t, int32_t> marks_;  // mark -> identity
  int32_t next_mark_ = 1;

  std::map<BlobKey, std::string> held_blobs_;  // writes not yet stored
  std::map<BlobKey, int32_t> blob_mark_of_;
  std::vector<BlobKey> blob_marks_;  // blob mark n names blob_marks_[n - 1]
  BlobKey cached_blob_key_{-1, -1};  // last stored blob read, for chunked reads
  std::string cached_blob_;
};

}  // namespace vesk::engine

#endif
