#include "engine/table_create.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/catalogue.h"
#include "engine/collation.h"
#include "engine/engine_error.h"
#include "engine/short_text.h"
#include "engine/sql.h"

namespace vesk {

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
  for (int32_t n = 0; n < index_count; ++n) {
    const rr_index_spec& given = indexes[n];
    if (!given.name || given.field_count < 0 || (given.field_count > 0 && !given.fields))
      throw EngineError("Index " + std::to_string(n) + " is not described completely");
    catalogue.indexes.push_back(
        Index{given.name, std::vector<int32_t>(given.fields, given.fields + given.field_count), given.case_insensitive != 0});
  }
  catalogue.Validate();
  return catalogue;
}

void RemoveTableFiles(const std::string& name) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((name + suffix).c_str());
}

}  // namespace

void CreateTable(const std::string& name, const rr_field_spec* fields, int32_t field_count,
                 const rr_index_spec* indexes, int32_t index_count) {
  std::string path = NormalizeTableName(name);
  if (path.empty()) throw EngineError("A table needs a file name");
  Catalogue catalogue = Describe(fields, field_count, indexes, index_count);
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) throw EngineError("Table " + path + " already exists");
    throw EngineError("Table " + path + " cannot be created: " + std::strerror(errno));
  }
  close(fd);
  try {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) throw EngineError(raw ? sqlite3_errmsg(raw) : "out of memory");
    RegisterCollations(raw);
    Exec(raw, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; BEGIN");
    catalogue.Write(raw);
    Exec(raw, "COMMIT");
  } catch (const EngineError& e) {
    RemoveTableFiles(path);
    throw EngineError("Table " + path + " cannot be created: " + e.what());
  }
}

}  // namespace vesk
