// Texts at the engine boundary: the engine's length-prefixed form (one length
// byte, at most 255 bytes), and cutting a text to a byte count without
// splitting a character of a multi-byte code page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

// The longest leading part of text of at most maxBytes bytes that ends on a
// character boundary of the code page.
std::string_view CutText(std::string_view text, size_t maxBytes);

// Length byte, at most 255 bytes of text (cut as CutText does), zero after it.
using EngineText = std::array<uint8_t, 257>;
EngineText ToEngineText(std::string_view text);
std::string FromEngineText(const uint8_t* text);

}  // namespace vesk
