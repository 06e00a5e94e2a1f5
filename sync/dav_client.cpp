#include "sync/dav_client.h"

#include <QAuthenticator>
#include <QCryptographicHash>
#include <QHostAddress>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QSslError>
#include <memory>

namespace vesk {

bool Unencrypted(const QUrl& server) {
  if (server.scheme() != "http") return false;
  const QString host = server.host();
  return host.compare("localhost", Qt::CaseInsensitive) != 0 && !QHostAddress(host).isLoopback();
}

std::string Fingerprint(const QByteArray& der) {
  return QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper().toStdString();
}

std::string FailureMessage(const DavReply& reply) {
  switch (reply.failure) {
    case DavFailure::Unreachable: return "Der Server ist nicht erreichbar: " + reply.error;
    case DavFailure::LoginRefused:
      return "Der Server hat die Anmeldung abgelehnt: Benutzername oder Kennwort stimmen nicht";
    case DavFailure::UntrustedCertificate:
      return "Das Zertifikat des Servers ist nicht vertrauenswürdig (SHA-256 " + reply.certificate + ")";
    case DavFailure::Http:
    case DavFailure::None: break;
  }
  return "Der Server antwortet mit Status " + std::to_string(reply.status);
}

DavClient::DavClient(DavAccount account) : account_(std::move(account)) {
  // Redirects are followed here, with the request's own method: Qt would
  // turn a PROPFIND into a GET.
  manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void DavClient::Send(const std::string& method, const QUrl& url, const std::string& body, const Headers& headers,
                     Done done) {
  Send(method, url, body, headers, std::move(done), 0);
}

void DavClient::Send(const std::string& method, const QUrl& url, const std::string& body, const Headers& headers,
                     Done done, int hops) {
  QNetworkRequest request(url);
  request.setHeader(QNetworkRequest::ContentTypeHeader, "application/xml; charset=utf-8");
  for (const auto& [name, value] : headers)
    request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
  ++sent_;
  QNetworkReply* reply =
      manager_.sendCustomRequest(request, QByteArray::fromStdString(method), QByteArray::fromStdString(body));
  // What happened on the way, kept until the reply finishes.
  struct Trail {
    int challenges = 0;
    std::string untrusted;
  };
  auto trail = std::make_shared<Trail>();
  QObject::connect(&manager_, &QNetworkAccessManager::authenticationRequired, reply,
                   [this, reply, trail](QNetworkReply* asking, QAuthenticator* authenticator) {
                     if (asking != reply || ++trail->challenges > 1) return;  // asked again: refused
                     authenticator->setUser(QString::fromStdString(account_.user));
                     authenticator->setPassword(QString::fromStdString(account_.password));
                   });
  QObject::connect(reply, &QNetworkReply::sslErrors, reply, [this, reply, trail](const QList<QSslError>& errors) {
    const QSslCertificate certificate = errors.isEmpty() ? QSslCertificate() : errors.first().certificate();
    const std::string fingerprint = certificate.isNull() ? std::string() : Fingerprint(certificate.toDer());
    if (!fingerprint.empty() && fingerprint == account_.trustedCertificate) {
      reply->ignoreSslErrors(errors);
      return;
    }
    trail->untrusted = fingerprint.empty() ? "?" : fingerprint;
  });
  QObject::connect(reply, &QNetworkReply::finished, reply,
                   [this, method, body, headers, hops, reply, trail, done = std::move(done)]() mutable {
                     DavReply answer;
                     answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                     const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
                     constexpr int kMaxRedirects = 5;
                     if (answer.status / 100 == 3 && location.isValid() && hops < kMaxRedirects) {
                       const QUrl next = reply->url().resolved(location);
                       reply->deleteLater();
                       return Send(method, next, body, headers, std::move(done), hops + 1);
                     }
                     answer.body = reply->readAll().toStdString();
                     answer.etag = reply->rawHeader("ETag").toStdString();
                     answer.url = reply->url();
                     if (!trail->untrusted.empty()) {
                       answer.failure = DavFailure::UntrustedCertificate;
                       answer.certificate = trail->untrusted;
                     } else if (answer.status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
                       answer.failure = DavFailure::LoginRefused;
                     } else if (answer.status == 0) {
                       answer.failure = DavFailure::Unreachable;
                     }
                     if (answer.status == 0) answer.error = reply->errorString().toStdString();
                     reply->deleteLater();
                     done(answer);
                   });
}

}  // namespace vesk
