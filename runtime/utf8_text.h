// Counting and cutting UTF-8 texts by whole characters (code points), so a
// cut never splits a character. Shared by the engine, the fields and the
// tools; a stray continuation byte counts with the character before it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace vesk {

inline bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

inline size_t Utf8Length(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

// The first chars characters of text.
inline std::string_view Utf8Prefix(std::string_view text, size_t chars) {
  if (text.size() <= chars) return text;  // no more characters than bytes
  size_t end = 0;
  for (size_t seen = 0; end < text.size(); ++end) {
    if (!IsUtf8Continuation(text[end]) && seen++ == chars) break;
  }
  return text.substr(0, end);
}

// The longest leading part of at most max_bytes bytes that does not end
// inside a character.
inline std::string_view Utf8CutBytes(std::string_view text, size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  size_t end = max_bytes;
  while (end > 0 && IsUtf8Continuation(text[end])) --end;
  return text.substr(0, end);
}

}  // namespace vesk
