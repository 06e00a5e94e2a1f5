// Registered window messages: a name becomes a 16-bit identifier in
// 0xC000-0xFFFF that is the same for the same name, compared without regard
// to case, in every process of the user for as long as the runtime folder
// lives.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesk {

inline constexpr uint16_t kFirstRegisteredMessage = 0xC000;

// The name's identifier, registering it first when it is new. 0 when the
// name is empty, longer than 255 bytes or holds a line break or NUL, when the
// table is full or cannot be read or written.
uint16_t RegisterWindowMessage(std::string_view name);

}  // namespace vesk
