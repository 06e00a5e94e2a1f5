// A WebDAV server of a few canned answers, on a loopback port of this
// process, for the paths Radicale never takes: a server without the sync
// report, and a sync report cut short (507). Each request is answered by
// the first rule whose method matches and whose text the request's body
// holds; the requests are kept.
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

class StubDavServer {
 public:
  struct Rule {
    std::string method;
    std::string bodyHolds;  // "" for any body
    int status;
    std::string body;
  };

  explicit StubDavServer(std::vector<Rule> rules) : rules_(std::move(rules)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
          buffer->append(socket->readAll());
          const qsizetype end = buffer->indexOf("\r\n\r\n");
          if (end < 0) return;
          const QByteArray head = buffer->left(end);
          qsizetype length = 0;
          for (const QByteArray& line : head.split('\n'))
            if (line.toLower().startsWith("content-length:")) length = line.mid(15).trimmed().toLongLong();
          if (buffer->size() < end + 4 + length) return;
          const std::string method = head.left(head.indexOf(' ')).toStdString();
          const std::string body = buffer->mid(end + 4, length).toStdString();
          buffer->clear();
          requests_.push_back(method + " " + body);
          Answer(*socket, method, body);
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  std::string Url(const std::string& path = "/") const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
  }
  const std::vector<std::string>& Requests() const { return requests_; }

 private:
  void Answer(QTcpSocket& socket, const std::string& method, const std::string& body) {
    for (const Rule& rule : rules_) {
      if (rule.method != method || body.find(rule.bodyHolds) == std::string::npos) continue;
      const std::string reply =
          "HTTP/1.1 " + std::to_string(rule.status) + " Stub\r\nContent-Type: application/xml\r\n" +
          "ETag: \"neu\"\r\nContent-Length: " + std::to_string(rule.body.size()) + "\r\n\r\n" + rule.body;
      socket.write(reply.data(), static_cast<qint64>(reply.size()));
      return;
    }
    socket.write("HTTP/1.1 500 No rule\r\nContent-Length: 0\r\n\r\n");
  }

  std::vector<Rule> rules_;
  QTcpServer server_;
  std::vector<std::string> requests_;
};

}  // namespace vesk
