#include "engine/short_text.h"

#include <algorithm>
#include <cstring>

namespace vesk {

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::string ReadShortText(const uint8_t* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

void WriteShortText(uint8_t* result, std::string_view text, size_t max_len) {
  std::string_view cut = CutUtf8(text, std::min<size_t>(max_len, 255));
  result[0] = static_cast<uint8_t>(cut.size());
  std::memcpy(result + 1, cut.data(), cut.size());
  if (cut.size() < max_len) result[cut.size() + 1] = 0;
}

std::string_view CutUtf8(std::string_view text, size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  size_t end = max_bytes;
  while (end > 0 && IsContinuation(text[end])) --end;
  return text.substr(0, end);
}

std::string_view FirstChars(std::string_view text, size_t chars) {
  size_t end = 0;
  for (size_t seen = 0; end < text.size(); ++end) {
    if (!IsContinuation(text[end]) && seen++ == chars) break;
  }
  return text.substr(0, end);
}

size_t CharCount(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

std::string NormalizeTableName(std::string_view name) {
  std::string normalized(name);
  std::replace(normalized.begin(), normalized.end(), '\\', '/');
  return normalized;
}

}  // namespace vesk
