#include "engine/record_editor.h"

#include <cstring>

#include "engine/engine_error.h"
#include "engine/record_codec.h"

namespace vesk::engine {

void RecordEditor::Open() { put_.assign(t_.catalogue.RecordSize(), 0); }

sqlite3_stmt* RecordEditor::Prepared(Statement& statement, const std::function<std::string()>& sql) {
  if (!statement) statement = Prepare(t_.db.get(), sql());
  return statement.get();
}

int64_t RecordEditor::NextId() {
  if (!next_id_) {
    sqlite3* db = t_.db.get();
    Statement last = Prepare(db,
                             "SELECT max(ifnull((SELECT seq FROM sqlite_sequence WHERE name = 'records'), 0), "
                             "ifnull((SELECT max(rr_id) FROM records), 0))");
    Step(db, last.get());
    next_id_ = sqlite3_column_int64(last.get(), 0) + 1;
  }
  return *next_id_;
}

void RecordEditor::Reread() {
  t_.blobs.ForgetStored();
  next_id_.reset();
  t_.order.Reload(t_.db.get());
}

void RecordEditor::RequireWritable() const {
  if (!t_.writable) throw EngineError("Table " + t_.name + " is open for reading only");
}

bool RecordEditor::RecordStored(int32_t identity) {
  sqlite3_stmt* stmt = Prepared(exists_, [] { return "SELECT 1 FROM records WHERE rr_id = ?1"; });
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, identity);
  bool stored = Step(t_.db.get(), stmt);
  sqlite3_reset(stmt);
  return stored;
}

void RecordEditor::BlankRecord(uint8_t* buffer) const {
  std::memset(buffer, 0, static_cast<size_t>(t_.catalogue.RecordSize()));
}

void RecordEditor::GetRecord(uint8_t* buffer) {
  if (t_.cursor.NoCurrent()) return BlankRecord(buffer);
  t_.order.ReadAt(t_.cursor.Position(), buffer);
  t_.blobs.Show(t_.order.IdAt(t_.cursor.Position()), buffer);
}

void RecordEditor::PutBuffer(const uint8_t* buffer) { std::memcpy(put_.data(), buffer, put_.size()); }

void RecordEditor::Commit(sqlite3_stmt* stmt, int32_t changing) {
  t_.order.EndRead(changing);
  Step(t_.db.get(), stmt);
  sqlite3_reset(stmt);
  t_.order.Changed();
  t_.blobs.ForgetStored();
}

void RecordEditor::StoreNew() {
  RequireWritable();
  t_.tests.RequireIdle();
  if (NextId() > INT32_MAX) throw EngineError("Table " + t_.name + " has used up its record identities");
  int32_t id = static_cast<int32_t>(*next_id_);
  sqlite3_stmt* stmt = Prepared(insert_, [this] {
    std::string parameters;
    for (int32_t i = 0; i < t_.catalogue.FieldCount(); ++i) parameters += ", ?" + std::to_string(i + 2);
    return "INSERT INTO records(rr_id, " + t_.catalogue.ColumnList() + ") VALUES(?1" + parameters + ")";
  });
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, id);
  for (int32_t i = 0; i < t_.catalogue.FieldCount(); ++i) {
    const Field& field = t_.catalogue.fields[i];
    if (field.letter == 'A') {
      put_[i] = 1;
      SetInteger(field, id, put_.data());
    }
    if (field.IsBlob())
      t_.blobs.Bind(stmt, i + 2, i, 0);
    else
      BindField(stmt, i + 2, t_.catalogue, i, put_.data());
  }
  Commit(stmt, 0);
  ++*next_id_;
  t_.blobs.Drop(0);
  t_.cursor.StandOn(t_.order.PlaceStored(put_.data(), id));
}

void RecordEditor::StoreOver() {
  RequireWritable();
  t_.tests.RequireIdle();
  size_t p = t_.cursor.Current();
  int32_t id = t_.order.IdAt(p);
  std::string sql;
  for (int32_t i = 0; i < t_.catalogue.FieldCount(); ++i) {
    const Field& field = t_.catalogue.fields[i];
    if (field.letter == 'A' || (field.IsBlob() && !t_.blobs.Holds(id, i))) continue;
    sql += (sql.empty() ? "" : ", ") + QuoteName(field.name) + " = ?" + std::to_string(i + 2);
  }
  if (sql.empty()) return;  // nothing but the AutoInc value, which never changes
  sqlite3_stmt* stmt = t_.statements.Get("UPDATE records SET " + sql + " WHERE rr_id = ?1");
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  sqlite3_bind_int(stmt, 1, id);
  for (int32_t i = 0; i < t_.catalogue.FieldCount(); ++i) {
    if (t_.catalogue.fields[i].IsBlob())
      t_.blobs.Bind(stmt, i + 2, i, id);
    else
      BindField(stmt, i + 2, t_.catalogue, i, put_.data());
  }
  Commit(stmt, id);
  if (sqlite3_changes(t_.db.get()) == 0) throw EngineError("Record " + std::to_string(id) + " no longer exists");
  t_.blobs.Drop(id);
  if (t_.order.Index() > 0) {
    t_.order.Erase(p);
    p = t_.order.PlaceStored(put_.data(), id);
  }
  t_.cursor.StandOn(p);
}

void RecordEditor::Lock() {
  RequireWritable();
  int32_t id = t_.order.IdAt(t_.cursor.Current());
  if (!RecordStored(id)) throw EngineError("Record " + std::to_string(id) + " no longer exists");
}

void RecordEditor::Delete() {
  RequireWritable();
  t_.tests.RequireIdle();
  size_t p = t_.cursor.Current();
  int32_t id = t_.order.IdAt(p);
  sqlite3_stmt* stmt = Prepared(delete_, [] { return "DELETE FROM records WHERE rr_id = ?1"; });
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, id);
  Commit(stmt, id);
  if (sqlite3_changes(t_.db.get()) == 0) throw EngineError("Record " + std::to_string(id) + " no longer exists");
  t_.order.Erase(p);
  t_.blobs.Drop(id);
  resettle_(p);
}

void RecordEditor::BatchBegin() {
  RequireWritable();
  if (in_batch_) throw EngineError("A batch is already open");
  t_.order.EndRead();
  Exec(t_.db.get(), "BEGIN IMMEDIATE");
  in_batch_ = true;
}

void RecordEditor::BatchCommit() {
  if (!in_batch_) throw EngineError("No batch is open");
  t_.order.EndRead();
  try {
    Exec(t_.db.get(), "COMMIT");
  } catch (const EngineError&) {
    if (sqlite3_get_autocommit(t_.db.get())) BatchRollback();  // SQLite already undid it
    throw;
  }
  in_batch_ = false;
}

void RecordEditor::BatchRollback() {
  if (!in_batch_) throw EngineError("No batch is open");
  t_.order.EndRead();
  in_batch_ = false;
  if (!sqlite3_get_autocommit(t_.db.get())) Exec(t_.db.get(), "ROLLBACK");
  t_.blobs.DropAll();
  Reread();
  t_.tests.RequireIdle();
  resettle_(t_.order.Begin());
}

}  // namespace vesk::engine
