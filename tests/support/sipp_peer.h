// SIPp as the far end of calls on loopback: started on free ports with a
// scenario, waited for until it listens, and killed if it is still running
// when the test ends.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <cerrno>
#include <string>

#include "runtime/unique_fd.h"

namespace vesk {

// Binds a UDP socket on 127.0.0.1:port (0: any free port); the bound port,
// or -1 with errno set.
inline int BindLoopback(int port) {
  UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return -1;
  }
  return ntohs(address.sin_port);
}

class SippPeer {
 public:
  // scenario: a scenario file; calls: how many calls SIPp takes before it
  // ends, 0 for as many as come until it is killed.
  explicit SippPeer(const std::string& scenario, int calls = 1) : port_(BindLoopback(0)), mediaPort_(BindLoopback(0)) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    QStringList arguments = {"-sf",     QString::fromStdString(scenario), "-i",  "127.0.0.1",
                             "-p",      QString::number(port_),           "-mp", QString::number(mediaPort_),
                             "-nostdin"};
    if (calls > 0) {
      arguments << "-m" << QString::number(calls) << "-timeout"
                << "30s"
                << "-timeout_error";
    }
    process_.start("sipp", arguments);
  }
  ~SippPeer() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  SippPeer(const SippPeer&) = delete;
  SippPeer& operator=(const SippPeer&) = delete;

  // True once SIPp holds its port, false when it ended or did not within
  // ten seconds.
  bool Listening() {
    if (!process_.waitForStarted(10000)) return false;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
      if (BindLoopback(port_) < 0 && errno == EADDRINUSE) return true;
      QThread::msleep(20);
    }
    return false;
  }
  // SIPp's exit code (0: its one call went as the scenario says), or -1 when
  // it does not end in time or crashes.
  int ExitCode() {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(30000)) return -1;
    if (process_.exitStatus() != QProcess::NormalExit) {
      return -1;
    }
    return process_.exitCode();
  }
  // Whether SIPp has ended; asks without waiting, so that the event loop
  // (and with it the line) goes on while a test polls.
  bool Ended() const { return process_.state() == QProcess::NotRunning; }
  int Port() const { return port_; }

 private:
  int port_;
  int mediaPort_;
  QProcess process_;
};

}  // namespace vesk
