// Radicale as the CardDAV server of a test: started on a free loopback port
// with a storage folder and a users file of its own (plain passwords), the
// system's configuration kept away, over TLS with a self-signed
// certificate made for it when asked, waited for until it answers, and
// killed when the test ends.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
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
  enum class Transport { Plain, Tls };
  explicit RadicaleServer(const std::string& users = "max:geheim\n", Transport transport = Transport::Plain)
      : port_(FreePort()), tls_(transport == Transport::Tls) {
    std::ofstream(folder_.File("users")) << users;
    QStringList secure;
    if (tls_) {
      QProcess openssl;
      openssl.start("openssl",
                    {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-keyout",
                     QString::fromStdString(Certificate() + ".key"), "-out", QString::fromStdString(Certificate())});
      openssl.waitForFinished(60000);
      secure = {"--server-ssl", "--server-certificate", QString::fromStdString(Certificate()), "--server-key",
                QString::fromStdString(Certificate() + ".key")};
    }
    const QString log = QString::fromStdString(folder_.File("log"));
    process_.setStandardOutputFile(log);
    process_.setStandardErrorFile(log, QIODevice::Append);
    // Debian's python3-radicale belongs to the system's Python.
    QStringList arguments = {"-m",
                             "radicale",
                             "-C",
                             "",
                             "--server-hosts",
                             QString::fromStdString(Host()),
                             "--auth-type",
                             "htpasswd",
                             "--auth-htpasswd-filename",
                             QString::fromStdString(folder_.File("users")),
                             "--auth-htpasswd-encryption",
                             "plain",
                             "--storage-filesystem-folder",
                             QString::fromStdString(folder_.File("storage")),
                             "--logging-level",
                             "warning"};
    process_.start("/usr/bin/python3", arguments + secure);
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

  // The folder of a collection in the storage ("max/kontakte"), made when missing.
  std::string Storage(const std::string& path) const {
    const std::string folder = folder_.File("storage/collection-root/" + path);
    std::filesystem::create_directories(folder);
    return folder;
  }

  // An address book in the storage, as Radicale keeps one ("max/kontakte").
  void AddAddressBook(const std::string& path, const std::string& name) const {
    const std::string folder = Storage(path);
    std::ofstream(folder + "/.Radicale.props") << "{\"D:displayname\": \"" << name << "\", \"tag\": \"VADDRESSBOOK\"}";
  }

  // A calendar in the storage taking the components given ("VEVENT,VTODO";
  // "" leaves the set out, which means every component).
  void AddCalendar(const std::string& path, const std::string& name, const std::string& components) const {
    std::ofstream props(Storage(path) + "/.Radicale.props");
    props << "{\"D:displayname\": \"" << name << "\", \"tag\": \"VCALENDAR\"";
    if (!components.empty()) props << ", \"C:supported-calendar-component-set\": \"" << components << "\"";
    props << "}";
  }

  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& path = "/") const { return (tls_ ? "https://" : "http://") + Host() + path; }
  // The PEM file of its certificate, over TLS.
  std::string Certificate() const { return folder_.File("server.pem"); }
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
  bool tls_;
  QProcess process_;
};

}  // namespace vesk
