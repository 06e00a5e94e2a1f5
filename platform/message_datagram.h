// The datagram that carries one posted window message to the socket of the
// receiving process: a fixed-size record, anything else is not one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vesk {

// Window number that addresses every top-level window of the process.
inline constexpr uint32_t kAllWindows = 0;
inline constexpr size_t kDatagramSize = 28;

struct MessageDatagram {
  uint32_t window = kAllWindows;
  uint16_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
};

std::array<char, kDatagramSize> EncodeDatagram(const MessageDatagram& datagram);
// Nothing unless the bytes are exactly one record as EncodeDatagram writes it.
std::optional<MessageDatagram> DecodeDatagram(std::string_view bytes);

}  // namespace vesk
