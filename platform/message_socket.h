// The Unix datagram sockets of the message layer: one per process that has
// had a top-level window, named <process id>.sock in the runtime folder.
// Sending needs no socket of one's own; receiving runs from the Qt event loop.
#pragma once

#include <sys/types.h>

#include <QPointer>
#include <QSocketNotifier>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/message_datagram.h"
#include "runtime/unique_fd.h"

namespace vesk {

std::string SocketPath(const std::string& folder, uint32_t process);

enum class SendResult {
  kSent,
  kGone,    // no socket there, or nobody listens on it
  kFailed,  // the receiver's queue is full, or another fault
};

// Hands the datagram to the process's socket without waiting.
SendResult SendDatagram(const std::string& folder, uint32_t process, const MessageDatagram& datagram);

// True only when the process's socket is missing or nobody listens on it;
// a fault of the probe itself does not count.
bool NobodyListens(const std::string& folder, uint32_t process);

class MessageSocket {
 public:
  using Deliver = std::function<void(const MessageDatagram&)>;

  // Binds the socket at path, replacing a stale one. Raises vesk::Exception
  // when it cannot be bound.
  MessageSocket(std::string path, Deliver deliver);
  // Removes the socket's name; reading stops. Not from inside deliver.
  ~MessageSocket();
  MessageSocket(const MessageSocket&) = delete;
  MessageSocket& operator=(const MessageSocket&) = delete;

  // Reads the socket from the event loop of the application, whose thread
  // this must run on; every well-formed datagram goes to deliver, anything
  // else is dropped. Once per application object: does nothing while one
  // reads already.
  void Listen();
  // Delivers the datagram from the event loop, later, as if it had arrived.
  // False when nothing listens (no Listen since the application was made).
  bool DeliverLater(const MessageDatagram& datagram);

 private:
  void ReadPending();

  std::string path_;
  pid_t owner_;
  UniqueFd fd_;
  Deliver deliver_;
  QPointer<QSocketNotifier> notifier_;
};

}  // namespace vesk
