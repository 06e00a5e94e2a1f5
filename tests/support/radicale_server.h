// Radicale as the CardDAV server of a test: started on a free loopback port
// with a storage folder and a users file of its own (plain passwords), the
// system's configuration kept away, waited for until it answers, and
// killed when the test ends.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/unique_fd.h"
#include "tests/support/temp_folder.h"

namespace vesk {

class RadicaleServer {
 public:
  // users: "name:password" lines.
  explicit RadicaleServer(const std::string& users = "max:geheim\n") : port_(FreePort()) {
    std::ofstream(folder_.File("users")) << users;
    const QString log = QString::fromStdString(folder_.File("log"));
    process_.setStandardOutputFile(log);
    process_.setStandardErrorFile(log, QIODevice::Append);
    // Debian's python3-radicale belongs to the system's Python.
    process_.start("/usr/bin/python3",
                   {"-m", "radicale", "-C", "", "--server-hosts", QString::fromStdString(Host()),
                    "--auth-type", "htpasswd", "--auth-htpasswd-filename", QString::fromStdString(folder_.File("users")),
                    "--auth-htpasswd-encryption", "plain", "--storage-filesystem-folder",
                    QString::fromStdString(folder_.File("storage")), "--logging-level", "warning"});
  }
  ~RadicaleServer() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  RadicaleServer(const RadicaleServer&) = delete;
  RadicaleServer& operator=(const RadicaleServer&) = delete;

  // True once it accepts connections, false when it ended or did not within
  // fifteen seconds.
  bool Listening() {
    if (!process_.waitForStarted(10000)) return false;
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
      if (Accepts()) return true;
      QThread::msleep(50);
    }
    return false;
  }

  // An address book in the storage, as Radicale keeps one ("max/kontakte").
  void AddAddressBook(const std::string& path, const std::string& name) const {
    const std::string folder = folder_.File("storage/collection-root/" + path);
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/.Radicale.props") << "{\"D:displayname\": \"" << name << "\", \"tag\": \"VADDRESSBOOK\"}";
  }

  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& path = "/") const { return "http://" + Host() + path; }
  std::string Log() const {
    std::ifstream in(folder_.File("log"));
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  static int FreePort() {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
      return -1;
    return ntohs(address.sin_port);
  }

  bool Accepts() const {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }

  TempFolder folder_;
  int port_;
  QProcess process_;
};

}  // namespace vesk
