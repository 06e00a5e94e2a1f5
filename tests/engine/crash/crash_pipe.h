// Messages from the crash test's writer to the test: what the writer is about
// to store and which stores returned, framed so that a message cut short by
// the kill is recognised and dropped.
#ifndef VESK_TESTS_ENGINE_CRASH_CRASH_PIPE_H
#define VESK_TESTS_ENGINE_CRASH_CRASH_PIPE_H

#include <cstdint>
#include <optional>
#include <string>

namespace vesk::crash {

enum class MessageKind : uint8_t {
  kReady = 'R',      // the writer has opened the table
  kStoreNew = 'N',   // about to store content as a new record
  kStoreOver = 'O',  // about to store content over record `identity`
  kDelete = 'D',     // about to delete record `identity`
  kReturned = 'K',   // the announced operation returned; `identity` of its record
  kFailed = 'E',     // an engine call failed; content is the reason
};

struct Message {
  MessageKind kind = MessageKind::kReady;
  int32_t identity = 0;
  std::string content;
};

// Writes one message to fd in a single frame; false when the pipe is gone.
bool SendMessage(int fd, const Message& message);

// Collects bytes read from the pipe and cuts them into messages.
class MessageReader {
 public:
  void Feed(const char* bytes, size_t count);
  // The next complete message, if one has arrived.
  std::optional<Message> Next();
  // Bytes of a frame that has not (yet) arrived whole.
  size_t PendingBytes() const { return buffer_.size() - read_; }

 private:
  std::string buffer_;
  size_t read_ = 0;
};

}  // namespace vesk::crash

#endif
