#include "platform/message_datagram.h"

#include <cstring>

namespace vesk {
namespace {

// Layout, in the byte order of the machine (sender and receiver share it):
// magic, window, message, two zero bytes, wParam, lParam.
constexpr std::string_view kMagic = "VkWm";
constexpr size_t kWindowAt = 4;
constexpr size_t kMessageAt = 8;
constexpr size_t kReservedAt = 10;
constexpr size_t kWParamAt = 12;
constexpr size_t kLParamAt = 20;
static_assert(kLParamAt + sizeof(int64_t) == kDatagramSize);

template <typename T>
void Put(std::array<char, kDatagramSize>& bytes, size_t at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

template <typename T>
T Get(std::string_view bytes, size_t at) {
  T value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

}  // namespace

std::array<char, kDatagramSize> EncodeDatagram(const MessageDatagram& datagram) {
  std::array<char, kDatagramSize> bytes{};
  std::memcpy(bytes.data(), kMagic.data(), kMagic.size());
  Put(bytes, kWindowAt, datagram.window);
  Put(bytes, kMessageAt, datagram.message);
  Put(bytes, kWParamAt, datagram.wParam);
  Put(bytes, kLParamAt, datagram.lParam);
  return bytes;
}

std::optional<MessageDatagram> DecodeDatagram(std::string_view bytes) {
  if (bytes.size() != kDatagramSize || bytes.substr(0, kMagic.size()) != kMagic ||
      Get<uint16_t>(bytes, kReservedAt) != 0) {
    return std::nullopt;
  }
  return MessageDatagram{Get<uint32_t>(bytes, kWindowAt), Get<uint16_t>(bytes, kMessageAt),
                         Get<uint64_t>(bytes, kWParamAt), Get<int64_t>(bytes, kLParamAt)};
}

}  // namespace vesk
