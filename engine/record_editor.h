// The editing line of one open table: reading the current record, the put
// buffer, storing new and changed records, deleting, the next record
// identity, and batches that make many stores one transaction. It works on
// the table's connection, catalogue, order, cursor and held blob writes;
// where the cursor goes after records leave the order is the table's to say.
#ifndef VESK_ENGINE_RECORD_EDITOR_H
#define VESK_ENGINE_RECORD_EDITOR_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/catalogue.h"
#include "engine/cursor_position.h"
#include "engine/held_blobs.h"
#include "engine/record_tests.h"
#include "engine/sql.h"
#include "engine/table_order.h"

namespace vesk::engine {

// The parts of a table the editor works on; each outlives the editor.
struct EditedTable {
  const std::string& name;
  bool writable;
  const Database& db;
  const Catalogue& catalogue;
  TableOrder& order;
  StatementCache& statements;
  CursorPosition& cursor;
  const RecordTests& tests;
  HeldBlobs& blobs;
};

class RecordEditor {
 public:
  // Stands the cursor on the first record passing the tests from position
  // on, else on the last one before it, else nowhere.
  using Resettle = std::function<void(size_t position)>;

  RecordEditor(const EditedTable& table, Resettle resettle) : t_(table), resettle_(std::move(resettle)) {}

  // Once the catalogue is loaded. The statements are prepared, and the
  // next identity read, at their first use: opening a table to read its
  // first record pays for none of them.
  void Open();

  void GetRecord(uint8_t* buffer);
  void BlankRecord(uint8_t* buffer) const;
  void PutBuffer(const uint8_t* buffer);
  void StoreNew();
  void StoreOver();
  void Lock();
  void EndEdit() { t_.blobs.DropAll(); }
  void Delete();
  void BatchBegin();
  void BatchCommit();
  void BatchRollback();
  bool InBatch() const { return in_batch_; }

  bool RecordStored(int32_t identity);
  void RequireWritable() const;  // throws EngineError for a table open for reading
  // Another connection may have changed the file: what was read of it is
  // read again.
  void Reread();

 private:
  int64_t NextId();
  // statement, prepared from sql() at its first use.
  sqlite3_stmt* Prepared(Statement& statement, const std::function<std::string()>& sql);
  // Writes with stmt; changing: the identity it changes or deletes, if any.
  void Commit(sqlite3_stmt* stmt, int32_t changing);

  EditedTable t_;
  Resettle resettle_;
  Statement insert_;
  Statement delete_;
  Statement exists_;
  std::vector<uint8_t> put_;
  std::optional<int64_t> next_id_;
  bool in_batch_ = false;
};

}  // namespace vesk::engine

#endif
