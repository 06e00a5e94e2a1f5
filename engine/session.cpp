#include "engine/session.h"

#include <unordered_map>

namespace vesk::engine {

namespace {
std::unordered_map<int32_t, std::unique_ptr<Session>>& Sessions() {
  static std::unordered_map<int32_t, std::unique_ptr<Session>> sessions;
  return sessions;
}
int32_t next_handle = 1;
// Calls come in runs on one handle: the last one found saves the lookup.
int32_t last_handle = 0;
Session* last_session = nullptr;
}  // namespace

Table& Session::Open() const {
  if (!table) throw EngineError("No table is open");
  return *table;
}

int32_t AddSession() {
  if (next_handle == INT32_MAX) return 0;
  Sessions()[next_handle] = std::make_unique<Session>();
  return next_handle++;
}

void RemoveSession(int32_t h) {
  if (h == last_handle) {
    last_handle = 0;
    last_session = nullptr;
  }
  Sessions().erase(h);
}

Session* FindSession(int32_t h) {
  if (h == last_handle && h != 0) return last_session;
  auto found = Sessions().find(h);
  if (found == Sessions().end()) return nullptr;
  last_handle = h;
  last_session = found->second.get();
  return last_session;
}

void RequireArgument(const void* pointer, const char* what) {
  if (!pointer) throw EngineError(std::string("Argument ") + what + " is missing");
}

}  // namespace vesk::engine
