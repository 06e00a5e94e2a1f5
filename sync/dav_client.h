// One account on a WebDAV server, spoken to over Qt Network on the calling
// thread's event loop: each request goes out at once and its answer comes
// to a callback. The account's user and password answer the server's Basic
// or Digest challenge once; a second challenge for the same request is a
// refused login. TLS uses the system's certificates, and beside them only
// the one certificate the user trusted by its SHA-256 fingerprint.
#pragma once

#include <QNetworkAccessManager>
#include <QUrl>
#include <functional>
#include <map>
#include <string>

namespace vesk {

struct DavAccount {
  QUrl server;  // what the user gave: a host, a URL, or the address book itself
  std::string user;
  std::string password;
  std::string trustedCertificate;  // SHA-256 fingerprint, hex with colons; "" trusts the system alone
};

enum class DavFailure {
  None,
  Unreachable,   // no connection: host unknown, refused, timed out
  LoginRefused,  // the credentials were asked for again, or 401 came back
  UntrustedCertificate,
  Http,  // any other status the caller did not expect
};

struct DavReply {
  int status = 0;  // the HTTP status; 0 without an answer
  std::string body;
  std::string etag;  // the ETag header
  QUrl url;          // where the answer came from, after redirects
  DavFailure failure = DavFailure::None;
  std::string certificate;  // an untrusted certificate's SHA-256 fingerprint
  std::string error;        // Qt's text when there was no answer
};

class DavClient {
 public:
  explicit DavClient(DavAccount account);
  DavClient(const DavClient&) = delete;
  DavClient& operator=(const DavClient&) = delete;

  const DavAccount& Account() const { return account_; }
  // The requests sent so far, each redirect one more.
  int RequestsSent() const { return sent_; }

  using Headers = std::map<std::string, std::string>;
  using Done = std::function<void(const DavReply&)>;
  // Sends method to url with the body (XML unless a header says otherwise)
  // and the headers; done is called once, on this thread's event loop.
  void Send(const std::string& method, const QUrl& url, const std::string& body, const Headers& headers, Done done);

 private:
  void Send(const std::string& method, const QUrl& url, const std::string& body, const Headers& headers, Done done,
            int hops);

  DavAccount account_;
  QNetworkAccessManager manager_;
  int sent_ = 0;
};

// True when the password would travel readable: plain http to a host other
// than this computer.
bool Unencrypted(const QUrl& server);

// One German sentence for a reply that failed, for the status bar or a box.
std::string FailureMessage(const DavReply& reply);

// The SHA-256 fingerprint of a certificate as the dialog shows it:
// "AB:CD:…", upper-case hex.
std::string Fingerprint(const QByteArray& der);

}  // namespace vesk
