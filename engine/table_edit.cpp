// Records and editing: reading the current record, the put buffer, storing
// new and changed records, deleting, and batches that make many stores one
// transaction.
#include <cstring>

#include "engine/engine_error.h"
#include "engine/record_codec.h"
#include "engine/table.h"

namespace vesk::engine {

void Table::BlankRecord(uint8_t* buffer) const {
  std::memset(buffer, 0, static_cast<size_t>(catalogue_.RecordSize()));
}

void Table::GetRecord(uint8_t* buffer) {
  if (cursor_.NoCurrent()) return BlankRecord(buffer);
  reader_.ReadAt(ids_, cursor_.Position(), buffer);
  blobs_.Show(ids_.At(cursor_.Position()), buffer);
}

void Table::PutBuffer(const uint8_t* buffer) { std::memcpy(put_.data(), buffer, put_.size()); }

void Table::Commit(sqlite3_stmt* stmt) {
  reader_.Reset();
  Step(db_.get(), stmt);
  sqlite3_reset(stmt);
  blobs_.ForgetStored();
}

bool Table::InStoredOrder(const uint8_t* a, int32_t a_id, const uint8_t* b, int32_t b_id) const {
  if (index_ > 0) {
    const Index& index = catalogue_.indexes[index_ - 1];
    for (int32_t f : index.fields) {
      int order = CompareField(catalogue_, f, a, b, index.case_insensitive);
      if (order != 0) return order < 0;
    }
  }
  return a_id < b_id;
}

size_t Table::OrderPosition(const uint8_t* record, int32_t identity) {
  size_t low = 0, high = ids_.Size();
  if (index_ == 0) return high;  // new identities are the highest
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    int32_t probe_id = ids_.At(middle);
    if (!reader_.ReadId(probe_id, probe_.data()))
      throw EngineError("Record " + std::to_string(probe_id) + " no longer exists");
    if (InStoredOrder(probe_.data(), probe_id, record, identity))
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

void Table::StoreNew() {
  RequireWritable();
  tests_.RequireIdle();
  if (next_id_ > INT32_MAX) throw EngineError("Table " + name_ + " has used up its record identities");
  int32_t id = static_cast<int32_t>(next_id_);
  sqlite3_stmt* stmt = insert_.get();
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, id);
  for (int32_t i = 0; i < catalogue_.FieldCount(); ++i) {
    const Field& field = catalogue_.fields[i];
    if (field.letter == 'A') {
      put_[i] = 1;
      SetInteger(field, id, put_.data());
    }
    if (field.IsBlob())
      blobs_.Bind(stmt, i + 2, i, 0);
    else
      BindField(stmt, i + 2, catalogue_, i, put_.data());
  }
  Commit(stmt);
  ++next_id_;
  blobs_.Drop(0);
  size_t p = OrderPosition(put_.data(), id);
  ids_.Insert(p, id);
  cursor_.StandOn(p);
}

void Table::StoreOver() {
  RequireWritable();
  tests_.RequireIdle();
  size_t p = cursor_.Current();
  int32_t id = ids_.At(p);
  std::string sql;
  for (int32_t i = 0; i < catalogue_.FieldCount(); ++i) {
    const Field& field = catalogue_.fields[i];
    if (field.letter == 'A' || (field.IsBlob() && !blobs_.Holds(id, i))) continue;
    sql += (sql.empty() ? "" : ", ") + QuoteName(field.name) + " = ?" + std::to_string(i + 2);
  }
  if (sql.empty()) return;  // nothing but the AutoInc value, which never changes
  sqlite3_stmt* stmt = statements_.Get("UPDATE records SET " + sql + " WHERE rr_id = ?1");
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  sqlite3_bind_int(stmt, 1, id);
  for (int32_t i = 0; i < catalogue_.FieldCount(); ++i) {
    if (catalogue_.fields[i].IsBlob())
      blobs_.Bind(stmt, i + 2, i, id);
    else
      BindField(stmt, i + 2, catalogue_, i, put_.data());
  }
  Commit(stmt);
  if (sqlite3_changes(db_.get()) == 0) throw EngineError("Record " + std::to_string(id) + " no longer exists");
  blobs_.Drop(id);
  if (index_ > 0) {
    ids_.Erase(p);
    p = OrderPosition(put_.data(), id);
    ids_.Insert(p, id);
  }
  cursor_.StandOn(p);
}

void Table::Lock() {
  RequireWritable();
  int32_t id = CurrentId();
  if (!RecordStored(id)) throw EngineError("Record " + std::to_string(id) + " no longer exists");
}

void Table::Delete() {
  RequireWritable();
  tests_.RequireIdle();
  size_t p = cursor_.Current();
  int32_t id = ids_.At(p);
  sqlite3_reset(delete_.get());
  sqlite3_bind_int(delete_.get(), 1, id);
  Commit(delete_.get());
  if (sqlite3_changes(db_.get()) == 0) throw EngineError("Record " + std::to_string(id) + " no longer exists");
  ids_.Erase(p);
  blobs_.Drop(id);
  size_t next = Seek(p, +1);
  if (next == IdSequence::kNotFound && p > 0) next = Seek(p - 1, -1);
  StandOnFound(next);
}

void Table::BatchBegin() {
  RequireWritable();
  if (in_batch_) throw EngineError("A batch is already open");
  reader_.Reset();
  Exec(db_.get(), "BEGIN IMMEDIATE");
  in_batch_ = true;
}

void Table::BatchCommit() {
  if (!in_batch_) throw EngineError("No batch is open");
  reader_.Reset();
  try {
    Exec(db_.get(), "COMMIT");
  } catch (const EngineError&) {
    if (sqlite3_get_autocommit(db_.get())) BatchRollback();  // SQLite already undid it
    throw;
  }
  in_batch_ = false;
}

void Table::BatchRollback() {
  if (!in_batch_) throw EngineError("No batch is open");
  reader_.Reset();
  in_batch_ = false;
  if (!sqlite3_get_autocommit(db_.get())) Exec(db_.get(), "ROLLBACK");
  blobs_.DropAll();
  blobs_.ForgetStored();
  LoadNextId();
  LoadOrder();
  First();
}

}  // namespace vesk::engine
