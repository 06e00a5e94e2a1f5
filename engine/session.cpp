#include "engine/session.h"

#include <unordered_map>

namespace vesk {

namespace {
std::unordered_map<int32_t, std::unique_ptr<Session>>& Sessions() {
  static std::unordered_map<int32_t, std::unique_ptr<Session>> sessions;
  return sessions;
}
int32_t next_handle = 1;
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

void RemoveSession(int32_t h) { Sessions().erase(h); }

Session* FindSession(int32_t h) {
  auto found = Sessions().find(h);
  return found == Sessions().end() ? nullptr : found->second.get();
}

void RequireArgument(const void* pointer, const char* what) {
  if (!pointer) throw EngineError(std::string("Argument ") + what + " is missing");
}

}  // namespace vesk
