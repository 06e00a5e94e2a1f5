#include "engine/session.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "runtime/utf8_text.h"

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

std::string ReadShortText(const uint8_t* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

void WriteShortText(uint8_t* result, std::string_view text, size_t max_len) {
  std::string_view cut = Utf8CutBytes(text, std::min<size_t>(max_len, 255));
  result[0] = static_cast<uint8_t>(cut.size());
  std::memcpy(result + 1, cut.data(), cut.size());
  if (cut.size() < max_len) result[cut.size() + 1] = 0;
}

}  // namespace vesk::engine
