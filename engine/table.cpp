#include "engine/table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/collation.h"
#include "engine/engine_error.h"

namespace vesk::engine {

namespace {

void CheckFile(const std::string& name) {
  struct stat info;
  if (stat(name.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw EngineError("Table " + name + " does not exist", kOpenMissing);
    throw EngineError("Table " + name + " cannot be read: " + std::strerror(errno), kOpenUnreadable);
  }
  if (!S_ISREG(info.st_mode)) throw EngineError("Table " + name + " is not a file", kOpenUnreadable);
  if (access(name.c_str(), R_OK) != 0)
    throw EngineError("Table " + name + " cannot be read: " + std::strerror(errno), kOpenUnreadable);
}

// An SQLite failure while opening, told by what SQLite found.
EngineError OpenFailure(sqlite3* db, const std::string& name, const std::string& text) {
  switch (db ? sqlite3_errcode(db) & 0xff : SQLITE_CANTOPEN) {
    case SQLITE_NOTADB: return EngineError("Table " + name + " is not an SQLite database", kOpenNotDatabase);
    case SQLITE_CORRUPT: return EngineError("Table " + name + " is damaged: " + text, kOpenDamaged);
    default: return EngineError("Table " + name + " cannot be read: " + text, kOpenUnreadable);
  }
}

}  // namespace

Table::Table(const std::string& name, bool writable)
    : name_(name),
      writable_(writable),
      order_(catalogue_),
      blobs_(
          catalogue_, [this](const HeldBlobs::Key& key) { return StoredBlob(key); },
          [this] { editor_.RequireWritable(); }),
      editor_({name_, writable, db_, catalogue_, order_, statements_, cursor_, tests_, blobs_},
              [this](size_t position) { StandNear(position); }),
      search_(catalogue_, db_, statements_, order_, tests_, candidate_) {
  CheckFile(name_);
  if (writable_ && !writer_lock_.Acquire(name_))
    throw EngineError("Table " + name_ + " is open for writing elsewhere", kOpenInUse);
  sqlite3* db = nullptr;
  int flags = (writable_ ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
  int rc = sqlite3_open_v2(name_.c_str(), &db, flags, nullptr);
  db_.reset(db);
  statements_ = StatementCache(db);
  if (rc != SQLITE_OK) throw OpenFailure(db, name_, db ? sqlite3_errmsg(db) : "out of memory");
  try {
    sqlite3_busy_timeout(db, 5000);
    catalogue_ = Catalogue::Load(db, name_);
    // Tables made before the order was recorded are sorted by the process's
    // locale; the first open for writing records it.
    catalogue_.text_order =
        TextOrder::Open(catalogue_.collation_locale.empty() ? TextOrder::ProcessLocale() : catalogue_.collation_locale);
    catalogue_.text_order->Register(db);
    if (writable_) {
      if (sqlite3_db_readonly(db, "main") == 1)
        throw EngineError("Table " + name_ + " cannot be opened for writing: the file is read-only", kOpenUnreadable);
      Exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
      KeepTextOrder();
      KeepOddLeads();
    } else {
      OpenSnapshot();
    }
    editor_.Open();
    order_.Reload(db_.get());
  } catch (const EngineError& e) {
    if (e.Code() != kOpenFailed) throw;
    throw OpenFailure(db, name_, e.what());
  }
  candidate_.assign(catalogue_.RecordSize(), 0);
  // Standing on the first record, as after a move there; an empty table
  // is off both ends at once.
  order_.Has(order_.Begin()) ? cursor_.StandOn(order_.Begin()) : cursor_.StandNowhere();
}

Table::~Table() = default;

void Table::KeepTextOrder() {
  const TextOrder& order = *catalogue_.text_order;
  if (catalogue_.collation_locale == order.Locale() && catalogue_.collation_version == order.Version()) return;
  Catalogue recorded = catalogue_;
  recorded.collation_locale = order.Locale();
  recorded.collation_version = order.Version();
  WriteTransaction(db_.get(), [&] {
    Exec(db_.get(), std::string("REINDEX ") + kCollationCase + "; REINDEX " + kCollationNoCase);
    recorded.WriteTextOrder(db_.get());
  });
  catalogue_ = std::move(recorded);
}

void Table::KeepOddLeads() {
  for (size_t n = 1; n <= catalogue_.indexes.size(); ++n) {
    Index& index = catalogue_.indexes[n - 1];
    if (index.odd_leads || !catalogue_.KeepsOddLeads(index)) continue;
    // Files made before the odd leads were kept get them at their first
    // open for writing.
    WriteTransaction(db_.get(), [&] { catalogue_.WriteOddLeads(db_.get(), static_cast<int32_t>(n)); });
    index.odd_leads = true;
  }
}

void Table::AddIndex(const Index& index) {
  editor_.RequireWritable();
  tests_.RequireIdle();
  if (editor_.InBatch()) throw EngineError("Not allowed inside a batch");
  Catalogue extended = catalogue_;
  extended.indexes.push_back(index);
  extended.Validate();
  order_.EndRead();
  WriteTransaction(db_.get(), [&] { extended.WriteIndex(db_.get(), static_cast<int32_t>(extended.indexes.size())); });
  extended.indexes.back().odd_leads = extended.KeepsOddLeads(extended.indexes.back());
  catalogue_ = std::move(extended);
}

std::string Table::IndexName() const {
  return order_.Index() == 0 ? std::string() : catalogue_.indexes[static_cast<size_t>(order_.Index()) - 1].name;
}

void Table::SelectIndex(int32_t number) {
  tests_.RequireIdle();
  FollowWriter();
  if (number < 0 || number > static_cast<int32_t>(catalogue_.indexes.size()))
    throw EngineError("Index number " + std::to_string(number) + " out of range");
  order_.Load(db_.get(), number);
  First();
}

bool Table::AcceptedAt(size_t position) {
  if (!tests_.Active()) return true;
  order_.ReadAt(position, candidate_.data());
  return tests_.Accept(candidate_.data());
}

}  // namespace vesk::engine
