#include "engine/short_text.h"

#include <algorithm>
#include <cstring>

#include "runtime/utf8_text.h"

namespace vesk::engine {

std::string ReadShortText(const uint8_t* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

void WriteShortText(uint8_t* result, std::string_view text, size_t max_len) {
  std::string_view cut = Utf8CutBytes(text, std::min<size_t>(max_len, 255));
  result[0] = static_cast<uint8_t>(cut.size());
  std::memcpy(result + 1, cut.data(), cut.size());
  if (cut.size() < max_len) result[cut.size() + 1] = 0;
}

std::string NormalizeTableName(std::string_view name) {
  std::string normalized(name);
  std::replace(normalized.begin(), normalized.end(), '\\', '/');
  return normalized;
}

}  // namespace vesk::engine
