#include "platform/message_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <optional>

#include "runtime/exceptions.h"
#include "runtime/unique_fd.h"

namespace vesk {
namespace {

// Datagrams read in one go before the event loop gets its turn again.
constexpr int kReadsPerWakeup = 64;

// Nothing when the path does not fit: a cut-off path would name another socket.
std::optional<sockaddr_un> Address(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

const sockaddr* Raw(const sockaddr_un& address) { return reinterpret_cast<const sockaddr*>(&address); }

UniqueFd DatagramSocket() { return UniqueFd(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)); }

bool Vanished(int error) { return error == ECONNREFUSED || error == ENOENT; }

}  // namespace

std::string SocketPath(const std::string& folder, uint32_t process) {
  return folder + "/" + std::to_string(process) + ".sock";
}

SendResult SendDatagram(const std::string& folder, uint32_t process, const MessageDatagram& datagram) {
  std::optional<sockaddr_un> address = Address(SocketPath(folder, process));
  UniqueFd fd = DatagramSocket();
  if (!address || !fd.Valid()) return SendResult::kFailed;
  const auto bytes = EncodeDatagram(datagram);
  ssize_t sent;
  do {
    sent = sendto(fd.Get(), bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL, Raw(*address), sizeof *address);
  } while (sent < 0 && errno == EINTR);
  if (sent == static_cast<ssize_t>(bytes.size())) return SendResult::kSent;
  return sent < 0 && Vanished(errno) ? SendResult::kGone : SendResult::kFailed;
}

bool NobodyListens(const std::string& folder, uint32_t process) {
  std::optional<sockaddr_un> address = Address(SocketPath(folder, process));
  UniqueFd fd = DatagramSocket();
  if (!address || !fd.Valid()) return false;
  // Connecting a datagram socket sends nothing; it only finds the listener.
  return connect(fd.Get(), Raw(*address), sizeof *address) != 0 && Vanished(errno);
}

MessageSocket::MessageSocket(std::string path, Deliver deliver)
    : path_(std::move(path)), owner_(getpid()), fd_(DatagramSocket()), deliver_(std::move(deliver)) {
  std::optional<sockaddr_un> address = Address(path_);
  if (!address) throw Exception(FormatMessage("Der Pfad %s ist zu lang für einen Socket", {path_}));
  unlink(path_.c_str());
  if (!fd_.Valid() || bind(fd_.Get(), Raw(*address), sizeof *address) != 0) {
    throw Exception(FormatMessage("Der Socket %s kann nicht angelegt werden: %s", {path_, std::strerror(errno)}));
  }
}

MessageSocket::~MessageSocket() {
  // A forked child that ends normally must not take the name from its parent.
  if (getpid() == owner_) unlink(path_.c_str());
  delete notifier_.data();
}

void MessageSocket::Listen() {
  if (notifier_) return;
  // A child of the application, so that it goes with it.
  notifier_ = new QSocketNotifier(fd_.Get(), QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] { ReadPending(); });
}

bool MessageSocket::DeliverLater(const MessageDatagram& datagram) {
  if (!notifier_) return false;
  return QMetaObject::invokeMethod(
      notifier_.data(), [this, datagram] { deliver_(datagram); }, Qt::QueuedConnection);
}

void MessageSocket::ReadPending() {
  char buffer[kDatagramSize + 1];  // one byte more shows a datagram too long
  for (int i = 0; i < kReadsPerWakeup; ++i) {
    const ssize_t count = recv(fd_.Get(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (count < 0) {
      if (errno == EINTR) continue;
      return;  // drained
    }
    if (std::optional<MessageDatagram> datagram =
            DecodeDatagram(std::string_view(buffer, static_cast<size_t>(count)))) {
      deliver_(*datagram);
    }
  }
}

}  // namespace vesk
