#include "engine/table_create.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/catalogue.h"
#include "engine/collation.h"
#include "engine/engine_error.h"
#include "engine/sql.h"
#include "runtime/unique_fd.h"

namespace vesk::engine {

namespace {

std::optional<std::string> OptionalText(const char* text) {
  if (!text) return std::nullopt;
  return std::string(text);
}

Catalogue Describe(const rr_field_spec* fields, int32_t field_count, const rr_index_spec* indexes,
                   int32_t index_count) {
  if (field_count < 0 || index_count < 0 || (field_count > 0 && !fields) || (index_count > 0 && !indexes))
    throw EngineError("Field or index descriptions missing");
  Catalogue catalogue;
  for (int32_t i = 0; i < field_count; ++i) {
    const rr_field_spec& given = fields[i];
    if (!given.name) throw EngineError("Field " + std::to_string(i) + " has no name");
    Field field;
    field.name = given.name;
    field.letter = given.letter;
    field.chars = given.chars;
    field.constraints = {OptionalText(given.required), OptionalText(given.default_text), OptionalText(given.min_text),
                         OptionalText(given.max_text)};
    catalogue.fields.push_back(std::move(field));
  }
  for (int32_t n = 0; n < index_count; ++n) catalogue.indexes.push_back(DescribeIndex(indexes[n], n));
  catalogue.Validate();
  catalogue.text_order = TextOrder::Open(TextOrder::ProcessLocale());
  catalogue.collation_locale = catalogue.text_order->Locale();
  catalogue.collation_version = catalogue.text_order->Version();
  return catalogue;
}

void RemoveTableFiles(const std::string& name) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((name + suffix).c_str());
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// An empty file beside path, under a hidden name of its own.
std::string MakeScratchFile(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string scratch = (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + "." +
                        path.substr(slash == std::string::npos ? 0 : slash + 1) + ".new-XXXXXX";
  const UniqueFd fd(mkostemp(scratch.data(), O_CLOEXEC));
  if (!fd.Valid()) throw EngineError(std::string("a file beside it cannot be made: ") + std::strerror(errno));
  fchmod(fd.Get(), 0644);
  return scratch;
}

void SyncPath(const std::string& path, int flags) {
  const UniqueFd fd(open(path.c_str(), flags | O_CLOEXEC));
  if (!fd.Valid() || fsync(fd.Get()) != 0) throw EngineError(path + " cannot be synced: " + std::strerror(errno));
}

// Writes the catalogue into the empty file and leaves it complete on disk:
// closing the last connection folds the write-ahead log into the file.
void Build(const std::string& file, const Catalogue& catalogue) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Database db(raw);
  if (rc != SQLITE_OK) throw EngineError(raw ? sqlite3_errmsg(raw) : "out of memory");
  catalogue.text_order->Register(raw);
  Exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; BEGIN");
  catalogue.Write(raw);
  Exec(raw, "COMMIT");
  if (sqlite3_close(db.release()) != SQLITE_OK) throw EngineError("the new table cannot be closed");
  SyncPath(file, O_RDONLY);
}

// Gives the finished file its name; false when a file of that name came up
// meanwhile.
bool Publish(const std::string& scratch, const std::string& path) {
  if (renameat2(AT_FDCWD, scratch.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0) {
    // A file system without the exclusive rename: a hard link is exclusive too.
    if ((errno != EINVAL && errno != ENOSYS) || link(scratch.c_str(), path.c_str()) != 0) {
      if (errno == EEXIST) return false;
      throw EngineError(std::strerror(errno));
    }
    unlink(scratch.c_str());
  }
  SyncPath(FolderOf(path), O_RDONLY | O_DIRECTORY);
  return true;
}

}  // namespace

Index DescribeIndex(const rr_index_spec& given, int32_t number) {
  if (!given.name || given.field_count < 0 || (given.field_count > 0 && !given.fields))
    throw EngineError("Index " + std::to_string(number) + " is not described completely");
  return Index{given.name, std::vector<int32_t>(given.fields, given.fields + given.field_count),
               given.case_insensitive != 0};
}

void CreateTable(const std::string& path, const rr_field_spec* fields, int32_t field_count,
                 const rr_index_spec* indexes, int32_t index_count) {
  if (path.empty()) throw EngineError("A table needs a file name");
  Catalogue catalogue = Describe(fields, field_count, indexes, index_count);
  if (access(path.c_str(), F_OK) == 0) throw EngineError("Table " + path + " already exists");
  // Built under a scratch name and renamed when complete, so the table's
  // name never stands for a half-made file.
  std::string scratch;
  bool published = false;
  try {
    scratch = MakeScratchFile(path);
    Build(scratch, catalogue);
    published = Publish(scratch, path);
  } catch (const EngineError& e) {
    if (!scratch.empty()) RemoveTableFiles(scratch);
    throw EngineError("Table " + path + " cannot be created: " + e.what());
  }
  if (!published) {
    RemoveTableFiles(scratch);
    throw EngineError("Table " + path + " already exists");
  }
}

}  // namespace vesk::engine
