#include "tests/engine/crash/crash_pipe.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vesk::crash {
namespace {

// Frame: kind (1 byte), identity (4), content length (4), content.
constexpr size_t kHeaderSize = 9;

}  // namespace

bool SendMessage(int fd, const Message& message) {
  std::string frame(kHeaderSize, '\0');
  frame[0] = static_cast<char>(message.kind);
  const uint32_t length = static_cast<uint32_t>(message.content.size());
  std::memcpy(&frame[1], &message.identity, 4);
  std::memcpy(&frame[5], &length, 4);
  frame += message.content;
  size_t written = 0;
  while (written < frame.size()) {
    const ssize_t n = write(fd, frame.data() + written, frame.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

void MessageReader::Feed(const char* bytes, size_t count) {
  if (read_ > 0 && read_ == buffer_.size()) {
    buffer_.clear();
    read_ = 0;
  }
  buffer_.append(bytes, count);
}

std::optional<Message> MessageReader::Next() {
  if (PendingBytes() < kHeaderSize) return std::nullopt;
  const char* header = buffer_.data() + read_;
  uint32_t length = 0;
  std::memcpy(&length, header + 5, 4);
  if (PendingBytes() < kHeaderSize + length) return std::nullopt;
  Message message;
  message.kind = static_cast<MessageKind>(header[0]);
  std::memcpy(&message.identity, header + 1, 4);
  message.content.assign(header + kHeaderSize, length);
  read_ += kHeaderSize + length;
  return message;
}

}  // namespace vesk::crash
