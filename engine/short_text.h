// Length-prefixed texts of the C interface (one length byte, at most 255
// bytes) and UTF-8 aware cutting, so a cut never splits a character.
#ifndef VESK_ENGINE_SHORT_TEXT_H
#define VESK_ENGINE_SHORT_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

// The text of a length-prefixed buffer.
std::string ReadShortText(const uint8_t* text);
// Writes text length-prefixed into result (max_len + 1 bytes), cut to
// max_len bytes at a character boundary; zero-terminated when room is left.
void WriteShortText(uint8_t* result, std::string_view text, size_t max_len = 255);
// The longest leading part of text of at most max_bytes bytes that does not
// end inside a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, size_t max_bytes);
// The first chars characters (code points) of text.
std::string_view FirstChars(std::string_view text, size_t chars);
size_t CharCount(std::string_view text);
// Table names may use "\" as folder separator.
std::string NormalizeTableName(std::string_view name);

}  // namespace vesk

#endif
