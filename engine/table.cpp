#include "engine/table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/collation.h"
#include "engine/engine_error.h"
#include "engine/short_text.h"

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

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

Table::Table(const std::string& name, bool writable) : name_(NormalizeTableName(name)), writable_(writable) {
  CheckFile(name_);
  if (writable_ && !writer_lock_.Acquire(name_))
    throw EngineError("Table " + name_ + " is open for writing elsewhere", kOpenInUse);
  sqlite3* db = nullptr;
  int flags = (writable_ ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
  int rc = sqlite3_open_v2(name_.c_str(), &db, flags, nullptr);
  db_.reset(db);
  if (rc != SQLITE_OK) throw OpenFailure(db, name_, db ? sqlite3_errmsg(db) : "out of memory");
  try {
    sqlite3_busy_timeout(db, 5000);
    Exec(db, "PRAGMA mmap_size=1073741824");
    Exec(db, "SELECT count(*) FROM sqlite_schema");
    catalogue_ = Catalogue::Load(db, name_);
    // Tables made before the order was recorded are sorted by the process's
    // locale; the first open for writing records it.
    catalogue_.text_order = TextOrder::Open(catalogue_.collation_locale.empty() ? TextOrder::ProcessLocale()
                                                                                : catalogue_.collation_locale);
    catalogue_.text_order->Register(db);
    if (writable_) {
      if (sqlite3_db_readonly(db, "main") == 1)
        throw EngineError("Table " + name_ + " cannot be opened for writing: the file is read-only", kOpenUnreadable);
      Exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
      KeepTextOrder();
    } else {
      OpenSnapshot();
    }
    LoadNextId();
    LoadOrder();
    std::string columns = catalogue_.ColumnList();
    std::string parameters;
    for (int32_t i = 0; i < catalogue_.FieldCount(); ++i) parameters += ", ?" + std::to_string(i + 2);
    insert_ = Prepare(db, "INSERT INTO records(rr_id, " + columns + ") VALUES(?1" + parameters + ")");
    delete_ = Prepare(db, "DELETE FROM records WHERE rr_id = ?1");
    exists_ = Prepare(db, "SELECT 1 FROM records WHERE rr_id = ?1");
  } catch (const EngineError& e) {
    if (e.Code() != kOpenFailed) throw;
    throw OpenFailure(db, name_, e.what());
  }
  put_.assign(catalogue_.RecordSize(), 0);
  candidate_ = probe_ = put_;
  // Standing on the first record, as after a move there; an empty table
  // is off both ends at once.
  ids_.Empty() ? StandNowhere() : StandOn(0);
}

Table::~Table() = default;

void Table::LoadNextId() {
  Statement last = Prepare(db_.get(), "SELECT max(ifnull((SELECT seq FROM sqlite_sequence WHERE name = 'records'), 0), "
                                      "ifnull((SELECT max(rr_id) FROM records), 0))");
  Step(db_.get(), last.get());
  next_id_ = sqlite3_column_int64(last.get(), 0) + 1;
}

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

void Table::AddIndex(const Index& index) {
  RequireWritable();
  RequireOutsideTest();
  if (in_batch_) throw EngineError("Not allowed inside a batch");
  Catalogue extended = catalogue_;
  extended.indexes.push_back(index);
  extended.Validate();
  reader_.Reset();
  WriteTransaction(db_.get(), [&] { extended.WriteIndex(db_.get(), static_cast<int32_t>(extended.indexes.size())); });
  catalogue_ = std::move(extended);
}

void Table::LoadOrder() {
  reader_.Reset();
  ids_.Clear();
  Statement order =
      Prepare(db_.get(), "SELECT rr_id" + catalogue_.From(index_) + " ORDER BY " + catalogue_.OrderBy(index_));
  while (Step(db_.get(), order.get())) ids_.Append(sqlite3_column_int(order.get(), 0));
  reader_.Prepare(db_.get(), catalogue_, index_);
}

const Field& Table::FieldAt(int32_t field) const {
  if (field < 0 || field >= catalogue_.FieldCount())
    throw EngineError("Field index " + std::to_string(field) + " out of range");
  return catalogue_.fields[field];
}

void Table::RequireWritable() const {
  if (!writable_) throw EngineError("Table " + name_ + " is open for reading only");
}

void Table::RequireOutsideTest() const {
  if (in_test_) throw EngineError("Not allowed inside a record test");
}

std::string Table::IndexName() const { return index_ == 0 ? std::string() : catalogue_.indexes[index_ - 1].name; }

int32_t Table::IndexNumber(const std::string& name) const {
  if (name.empty()) return 0;
  for (size_t n = 0; n < catalogue_.indexes.size(); ++n) {
    if (EqualNoCase(catalogue_.indexes[n].name, name)) return static_cast<int32_t>(n) + 1;
  }
  throw EngineError("Index " + name + " not found");
}

void Table::SelectIndex(int32_t number) {
  RequireOutsideTest();
  FollowWriter();
  if (number < 0 || number > static_cast<int32_t>(catalogue_.indexes.size()))
    throw EngineError("Index number " + std::to_string(number) + " out of range");
  index_ = number;
  LoadOrder();
  First();
}

bool Table::IndexServes(int32_t number, const std::vector<int32_t>& fields, bool case_insensitive) const {
  const Index& index = catalogue_.indexes[number - 1];
  if (fields.empty() || index.fields.size() < fields.size()) return false;
  if (!std::equal(fields.begin(), fields.end(), index.fields.begin())) return false;
  bool has_text = std::any_of(fields.begin(), fields.end(), [this](int32_t f) { return FieldAt(f).IsText(); });
  return !has_text || index.case_insensitive == case_insensitive;
}

int32_t Table::SearchIndex(const std::vector<int32_t>& fields, bool case_sensitive) const {
  for (int32_t f : fields) FieldAt(f);
  for (size_t n = 1; n <= catalogue_.indexes.size(); ++n) {
    if (IndexServes(static_cast<int32_t>(n), fields, !case_sensitive)) return static_cast<int32_t>(n);
  }
  return -1;
}

void Table::SetTests(rr_record_test test1, void* data1, rr_record_test test2, void* data2) {
  tests_[0] = test1;
  tests_[1] = test2;
  test_data_[0] = data1;
  test_data_[1] = data2;
}

void Table::EnableTests(bool use1, bool use2) {
  use_test_[0] = use1;
  use_test_[1] = use2;
}

bool Table::TestsActive() const {
  return tests_on_ && ((use_test_[0] && tests_[0]) || (use_test_[1] && tests_[1]));
}

bool Table::Accepted() {
  if (!TestsActive()) return true;
  struct InTest {
    bool& flag;
    explicit InTest(bool& f) : flag(f) { flag = true; }
    ~InTest() { flag = false; }
  } in_test(in_test_);
  for (int t = 0; t < 2; ++t) {
    if (use_test_[t] && tests_[t] && !tests_[t](test_data_[t], candidate_.data())) return false;
  }
  return true;
}

bool Table::AcceptedAt(size_t position) {
  if (!TestsActive()) return true;
  reader_.ReadAt(ids_, position, candidate_.data());
  return Accepted();
}

}  // namespace vesk::engine
