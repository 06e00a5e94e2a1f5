#include "sync/address_book_discovery.h"

#include <memory>

#include "sync/dav_multistatus.h"
#include "sync/dav_requests.h"

namespace vesk {
namespace {

constexpr char kNoBook[] = "Auf dem Server wurde kein Adressbuch gefunden";

// The steps of one discovery, each sent when the one before answered.
class Search : public std::enable_shared_from_this<Search> {
 public:
  Search(DavClient& client, std::function<void(Discovery)> done) : client_(client), done_(std::move(done)) {}

  void Start() { AskCollections(ServerUrl(client_.Account().server.toString().toStdString()), "0", true); }

 private:
  using Next = std::function<void(const DavReply&, const DavMultistatus&)>;

  // A PROPFIND whose multistatus goes to next; a failure ends the search
  // unless fallback is given, which is then tried instead.
  void Propfind(const QUrl& url, const std::string& depth, const std::string& body, Next next,
                std::function<void()> fallback = {}) {
    auto self = shared_from_this();
    client_.Send("PROPFIND", url, body, {{"Depth", depth}},
                 [self, next = std::move(next), fallback = std::move(fallback)](const DavReply& reply) {
                   if (reply.failure == DavFailure::LoginRefused || reply.failure == DavFailure::UntrustedCertificate ||
                       reply.failure == DavFailure::Unreachable)
                     return self->Fail(reply);
                   DavMultistatus answer;
                   try {
                     if (reply.status != 207) throw EDavAnswer("");
                     answer = ReadMultistatus(reply.body);
                   } catch (const EDavAnswer&) {
                     if (fallback) return fallback();
                     DavReply failed = reply;
                     failed.failure = DavFailure::Http;
                     return self->Fail(failed);
                   }
                   next(reply, answer);
                 });
  }

  // The URL itself may be the address book; else its principal.
  void AskCollections(const QUrl& url, const std::string& depth, bool first) {
    Propfind(url, depth, CollectionsPropfind(),
             [this, url, first](const DavReply& reply, const DavMultistatus& answer) {
               for (const DavResource& resource : answer.resources)
                 if (resource.addressBook) found_.books.push_back(Entry(reply.url, resource));
               if (!found_.books.empty() || !first) return Finish();
               AskPrincipal(url, true);
             });
  }

  void AskPrincipal(const QUrl& url, bool tryWellKnown) {
    auto wellKnown = [this, url] { AskPrincipal(url.resolved(QUrl("/.well-known/carddav")), false); };
    Propfind(
        url, "0", PrincipalPropfind(),
        [this, wellKnown, tryWellKnown](const DavReply& reply, const DavMultistatus& answer) {
          for (const DavResource& resource : answer.resources)
            if (!resource.principal.empty()) return AskHomeSet(Resolved(reply.url, resource.principal));
          if (tryWellKnown) return wellKnown();
          Finish();
        },
        tryWellKnown ? std::function<void()>(wellKnown) : std::function<void()>());
  }

  void AskHomeSet(const QUrl& principal) {
    Propfind(principal, "0", HomeSetPropfind(), [this](const DavReply& reply, const DavMultistatus& answer) {
      for (const DavResource& resource : answer.resources)
        if (!resource.addressBookHome.empty())
          return AskCollections(Resolved(reply.url, resource.addressBookHome), "1", false);
      Finish();
    });
  }

  static QUrl Resolved(const QUrl& base, const std::string& href) {
    return base.resolved(QUrl(QString::fromStdString(href), QUrl::StrictMode));
  }

  static AddressBookEntry Entry(const QUrl& base, const DavResource& resource) {
    AddressBookEntry entry{Resolved(base, resource.href), resource.displayName};
    if (entry.name.empty()) entry.name = entry.url.adjusted(QUrl::StripTrailingSlash).fileName().toStdString();
    return entry;
  }

  void Fail(const DavReply& reply) {
    found_.failure = reply.failure == DavFailure::None ? DavFailure::Http : reply.failure;
    found_.message = FailureMessage(reply);
    found_.certificate = reply.certificate;
    found_.books.clear();
    done_(std::move(found_));
  }

  void Finish() {
    if (found_.books.empty()) found_.message = kNoBook;
    done_(std::move(found_));
  }

  DavClient& client_;
  std::function<void(Discovery)> done_;
  Discovery found_;
};

}  // namespace

QUrl ServerUrl(const std::string& typed) {
  QString text = QString::fromStdString(typed).trimmed();
  if (!text.contains("://")) text = "https://" + text;
  QUrl url(text);
  if (url.path().isEmpty()) url.setPath("/");
  return url;
}

void DiscoverAddressBooks(DavClient& client, std::function<void(Discovery)> done) {
  std::make_shared<Search>(client, std::move(done))->Start();
}

}  // namespace vesk
