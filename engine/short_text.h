// Length-prefixed texts of the C interface (one length byte, at most 255
// bytes, cut at a character boundary) and table names.
#ifndef VESK_ENGINE_SHORT_TEXT_H
#define VESK_ENGINE_SHORT_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk::engine {

// The text of a length-prefixed buffer.
std::string ReadShortText(const uint8_t* text);
// Writes text length-prefixed into result (max_len + 1 bytes), cut to
// max_len bytes at a character boundary; zero-terminated when room is left.
void WriteShortText(uint8_t* result, std::string_view text, size_t max_len = 255);
// Table names may use "\" as folder separator.
std::string NormalizeTableName(std::string_view name);

}  // namespace vesk::engine

#endif
