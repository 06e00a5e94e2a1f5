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
  order_.ReadAt(cursor_.Position(), buffer);
  blobs_.Show(order_.Ids().At(cursor_.Position()), buffer);
}

void Table::PutBuffer(const uint8_t* buffer) { std::memcpy(put_.data(), buffer, put_.size()); }

void Table::Commit(sqlite3_stmt* stmt) {
  order_.EndRead();
  Step(db_.get(), stmt);
  sqlite3_reset(stmt);
  blobs_.ForgetStored();
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
  size_t p = order_.PlaceOf(put_.data(), id);
  order_.Insert(p, id);
  cursor_.StandOn(p);
}

void Table::StoreOver() {
  RequireWritable();
  tests_.RequireIdle();
  size_t p = cursor_.Current();
  int32_t id = order_.Ids().At(p);
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
  if (order_.Index() > 0) {
    order_.Erase(p);
    p = order_.PlaceOf(put_.data(), id);
    order_.Insert(p, id);
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
  int32_t id = order_.Ids().At(p);
  sqlite3_reset(delete_.get());
  sqlite3_bind_int(delete_.get(), 1, id);
  Commit(delete_.get());
  if (sqlite3_changes(db_.get()) == 0) throw EngineError("Record " + std::to_string(id) + " no longer exists");
  order_.Erase(p);
  blobs_.Drop(id);
  size_t next = Seek(p, +1);
  if (next == IdSequence::kNotFound && p > 0) next = Seek(p - 1, -1);
  StandOnFound(next);
}

void Table::BatchBegin() {
  RequireWritable();
  if (in_batch_) throw EngineError("A batch is already open");
  order_.EndRead();
  Exec(db_.get(), "BEGIN IMMEDIATE");
  in_batch_ = true;
}

void Table::BatchCommit() {
  if (!in_batch_) throw EngineError("No batch is open");
  order_.EndRead();
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
  order_.EndRead();
  in_batch_ = false;
  if (!sqlite3_get_autocommit(db_.get())) Exec(db_.get(), "ROLLBACK");
  blobs_.DropAll();
  blobs_.ForgetStored();
  LoadNextId();
  order_.Reload(db_.get());
  First();
}

}  // namespace vesk::engine
