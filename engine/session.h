// The handles of the C interface: each names a session holding at most one
// open table and the last error text. Guarded runs an entry point's body
// with its handle checked and turns failures into a result and error text.
// And the interface's length-prefixed texts (one length byte, at most 255
// bytes, cut at a character boundary).
#ifndef VESK_ENGINE_SESSION_H
#define VESK_ENGINE_SESSION_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "engine/engine_error.h"
#include "engine/table.h"

namespace vesk::engine {

struct Session {
  std::unique_ptr<Table> table;
  std::string error;

  Table& Open() const;  // throws when no table is open
};

int32_t AddSession();
void RemoveSession(int32_t h);
Session* FindSession(int32_t h);
// Throws when a pointer argument is missing.
void RequireArgument(const void* pointer, const char* what);

// The text of a length-prefixed buffer.
std::string ReadShortText(const uint8_t* text);
// Writes text length-prefixed into result (max_len + 1 bytes), cut to
// max_len bytes at a character boundary; zero-terminated when room is left.
void WriteShortText(uint8_t* result, std::string_view text, size_t max_len = 255);

template <typename Result, typename Body>
Result Guarded(int32_t h, Result failure, Body&& body) {
  Session* session = FindSession(h);
  if (!session) return failure;
  session->error.clear();
  try {
    Result result = body(*session);
    session->error.clear();  // a record test may have failed a nested call
    return result;
  } catch (const std::bad_alloc&) {
    session->error = "Out of memory";
  } catch (const std::exception& e) {
    session->error = e.what();
    if (session->error.empty()) session->error = "Unknown failure";
  }
  return failure;
}

// The same for entry points that report only success.
template <typename Body>
rr_bool GuardedBool(int32_t h, Body&& body) {
  return Guarded(h, rr_bool{0}, [&](Session& s) {
    body(s);
    return rr_bool{1};
  });
}

}  // namespace vesk::engine

#endif
