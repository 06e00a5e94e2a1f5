#include "sync/sync_state.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>

namespace vesk {
namespace {

struct Closer {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, Closer>;
struct Finalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS book(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS cards(record INTEGER PRIMARY KEY, href TEXT NOT NULL, etag TEXT NOT NULL,"
    " uid TEXT NOT NULL, base TEXT NOT NULL, held TEXT NOT NULL DEFAULT '', occurrence TEXT NOT NULL DEFAULT '',"
    " UNIQUE(href, occurrence));";

[[noreturn]] void Fail(sqlite3* db, const std::string& file) {
  throw ESyncState("Der Stand des Abgleichs in " + file +
                   " ist nicht lesbar oder schreibbar: " + (db != nullptr ? sqlite3_errmsg(db) : "kein Speicher"));
}

Database Open(const std::string& file, int flags) {
  sqlite3* raw = nullptr;
  const int result = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
  Database db(raw);
  if (result != SQLITE_OK) Fail(db.get(), file);
  sqlite3_busy_timeout(db.get(), 5000);
  return db;
}

void Exec(sqlite3* db, const char* sql, const std::string& file) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db, file);
}

Statement Prepare(sqlite3* db, const char* sql, const std::string& file) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) Fail(db, file);
  return Statement(raw);
}

std::string Column(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text != nullptr ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : "";
}

void Bind(sqlite3_stmt* statement, int at, const std::string& text) {
  sqlite3_bind_text(statement, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A file of the first syncs of addresses has no occurrences (and its hrefs
// stay unique, as a card's are).
void AddOccurrences(sqlite3* db, const std::string& file) {
  const Statement columns = Prepare(db, "SELECT 1 FROM pragma_table_info('cards') WHERE name = 'occurrence'", file);
  if (sqlite3_step(columns.get()) == SQLITE_ROW) return;
  Exec(db, "ALTER TABLE cards ADD COLUMN occurrence TEXT NOT NULL DEFAULT ''", file);
}

void Prepared(sqlite3* db, const std::string& file) {
  Exec(db, kSchema, file);
  AddOccurrences(db, file);
}

}  // namespace

std::string SyncStateFile(const std::string& tableFile) {
  return std::filesystem::path(tableFile).replace_extension(".sync").string();
}

SyncStateData ReadSyncState(const std::string& file) {
  SyncStateData state;
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return state;
  const Database db = Open(file, SQLITE_OPEN_READWRITE);
  Prepared(db.get(), file);
  const Statement book = Prepare(db.get(), "SELECT key, value FROM book", file);
  while (sqlite3_step(book.get()) == SQLITE_ROW) {
    const std::string key = Column(book.get(), 0);
    if (key == "url") state.book = Column(book.get(), 1);
    if (key == "token") state.token = Column(book.get(), 1);
  }
  const Statement cards = Prepare(db.get(), "SELECT record, href, etag, uid, base, held, occurrence FROM cards", file);
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(cards.get())) == SQLITE_ROW) {
    SyncedCard card{static_cast<int32_t>(sqlite3_column_int(cards.get(), 0)),
                    Column(cards.get(), 1),
                    Column(cards.get(), 2),
                    Column(cards.get(), 3),
                    Column(cards.get(), 4),
                    Column(cards.get(), 5),
                    Column(cards.get(), 6)};
    state.cards.emplace(card.record, std::move(card));
  }
  if (step != SQLITE_DONE) Fail(db.get(), file);
  return state;
}

void WriteSyncState(const std::string& file, const SyncStateData& state, const SyncStateData& before) {
  if (state == before) return;
  const Database db = Open(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  Exec(db.get(), "PRAGMA journal_mode=WAL", file);
  Prepared(db.get(), file);
  Exec(db.get(), "BEGIN IMMEDIATE", file);
  try {
    const Statement book = Prepare(db.get(), "INSERT OR REPLACE INTO book(key, value) VALUES(?, ?)", file);
    for (const auto& [key, value] :
         {std::pair<const char*, const std::string&>{"url", state.book}, {"token", state.token}}) {
      sqlite3_reset(book.get());
      sqlite3_bind_text(book.get(), 1, key, -1, SQLITE_STATIC);
      Bind(book.get(), 2, value);
      if (sqlite3_step(book.get()) != SQLITE_DONE) Fail(db.get(), file);
    }
    // Gone ones first, so that a place taken over by another record is free.
    const Statement gone = Prepare(db.get(), "DELETE FROM cards WHERE record = ?", file);
    for (const auto& [record, synced] : before.cards) {
      const auto now = state.cards.find(record);
      if (now != state.cards.end() && now->second.href == synced.href && now->second.occurrence == synced.occurrence)
        continue;
      sqlite3_reset(gone.get());
      sqlite3_bind_int(gone.get(), 1, record);
      if (sqlite3_step(gone.get()) != SQLITE_DONE) Fail(db.get(), file);
    }
    const Statement card = Prepare(
        db.get(),
        "INSERT OR REPLACE INTO cards(record, href, etag, uid, base, held, occurrence) VALUES(?, ?, ?, ?, ?, ?, ?)",
        file);
    for (const auto& [record, synced] : state.cards) {
      const auto was = before.cards.find(record);
      if (was != before.cards.end() && was->second == synced) continue;
      sqlite3_reset(card.get());
      sqlite3_bind_int(card.get(), 1, record);
      Bind(card.get(), 2, synced.href);
      Bind(card.get(), 3, synced.etag);
      Bind(card.get(), 4, synced.uid);
      Bind(card.get(), 5, synced.base);
      Bind(card.get(), 6, synced.held);
      Bind(card.get(), 7, synced.occurrence);
      if (sqlite3_step(card.get()) != SQLITE_DONE) Fail(db.get(), file);
    }
    Exec(db.get(), "COMMIT", file);
  } catch (...) {
    sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

}  // namespace vesk
