// C entry points: handles, opening and creating tables, batches, errors.
#include <algorithm>
#include <string>
#include <string_view>

#include "engine/radiridir.h"
#include "engine/session.h"
#include "engine/table_create.h"

using namespace vesk::engine;

namespace {
// A table's file name as the C interface gives it, where "\" may stand
// between folders too.
std::string TableName(std::string_view name) {
  std::string normalized(name);
  std::replace(normalized.begin(), normalized.end(), '\\', '/');
  return normalized;
}
}  // namespace

extern "C" {

int32_t rr_new(intptr_t /*app_window*/) {
  try {
    return AddSession();
  } catch (const std::exception&) {
    return 0;
  }
}

void rr_free(int32_t h) { RemoveSession(h); }

int32_t rr_open(int32_t h, const uint8_t* name, int32_t mode) {
  int32_t result = kOpenFailed;
  Guarded(h, 0, [&](Session& s) {
    RequireArgument(name, "name");
    if (s.table) throw EngineError("A table is already open on handle " + std::to_string(h));
    try {
      s.table = std::make_unique<Table>(TableName(ReadShortText(name)), mode == RR_MODE_READ_WRITE);
    } catch (const EngineError& e) {
      result = e.Code();
      throw;
    }
    result = 0;
    return 0;
  });
  return result;
}

void rr_close(int32_t h) {
  Guarded(h, 0, [](Session& s) {
    s.table.reset();
    return 0;
  });
}

rr_bool rr_is_open(int32_t h) {
  return Guarded(h, rr_bool{0}, [](Session& s) { return rr_bool{s.table != nullptr}; });
}

int32_t rr_create(int32_t h, const char* name, const rr_field_spec* fields, int32_t field_count,
                  const rr_index_spec* indexes, int32_t index_count) {
  return Guarded(h, int32_t{kOpenFailed}, [&](Session&) {
    RequireArgument(name, "name");
    CreateTable(TableName(name), fields, field_count, indexes, index_count);
    return int32_t{0};
  });
}

rr_bool rr_batch_begin(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().BatchBegin(); });
}

rr_bool rr_batch_commit(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().BatchCommit(); });
}

rr_bool rr_batch_rollback(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().BatchRollback(); });
}

void rr_last_error(uint8_t* result, int32_t h, int32_t /*one*/) {
  if (!result) return;
  Session* session = FindSession(h);
  WriteShortText(result, session ? session->error : "Invalid handle " + std::to_string(h));
}

}  // extern "C"
