#include "host/termination_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pair's ends: the handler writes into [0], the event loop reads [1].
int signalPipe[2] = {-1, -1};

void WriteSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = write(signalPipe[0], &byte, 1);
  errno = saved;
}

void SetHandler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

TerminationSignal::TerminationSignal(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalPipe) != 0) {
    throw Exception("Die Signale zum Beenden lassen sich nicht abfangen");
  }
  notifier_ = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (read(signalPipe[1], bytes, sizeof bytes) > 0) {
    }
    SetHandler(SIG_DFL);
    onSignal_();
  });
  SetHandler(WriteSignal);
}

TerminationSignal::~TerminationSignal() {
  SetHandler(SIG_DFL);
  notifier_.reset();
  close(signalPipe[0]);
  close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

}  // namespace vesk
