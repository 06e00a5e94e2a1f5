#include "sync/collection_discovery.h"

#include <algorithm>
#include <memory>

#include "sync/dav_multistatus.h"
#include "sync/dav_requests.h"

namespace vesk {
namespace {

// A calendar without supported-calendar-component-set takes every component.
bool Wanted(DavKind kind, const DavResource& resource) {
  if (kind == DavKind::AddressBook) return resource.addressBook;
  return resource.calendar &&
         (resource.components.empty() ||
          std::find(resource.components.begin(), resource.components.end(), "VEVENT") != resource.components.end());
}

// The steps of one discovery, each sent when the one before answered.
class Search : public std::enable_shared_from_this<Search> {
 public:
  Search(DavClient& client, DavKind kind, std::function<void(Discovery)> done)
      : client_(client), kind_(kind), done_(std::move(done)) {}

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
    Propfind(url, depth, CollectionsPropfind(kind_),
             [this, url, first](const DavReply& reply, const DavMultistatus& answer) {
               for (const DavResource& resource : answer.resources)
                 if (Wanted(kind_, resource)) found_.collections.push_back(Entry(reply.url, resource));
               if (!found_.collections.empty() || !first) return Finish();
               AskPrincipal(url, true);
             });
  }

  void AskPrincipal(const QUrl& url, bool tryWellKnown) {
    const QUrl known(kind_ == DavKind::AddressBook ? "/.well-known/carddav" : "/.well-known/caldav");
    auto wellKnown = [this, url, known] { AskPrincipal(url.resolved(known), false); };
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
    Propfind(principal, "0", HomeSetPropfind(kind_), [this](const DavReply& reply, const DavMultistatus& answer) {
      for (const DavResource& resource : answer.resources) {
        const std::string& home = kind_ == DavKind::AddressBook ? resource.addressBookHome : resource.calendarHome;
        if (!home.empty()) return AskCollections(Resolved(reply.url, home), "1", false);
      }
      Finish();
    });
  }

  static QUrl Resolved(const QUrl& base, const std::string& href) {
    return base.resolved(QUrl(QString::fromStdString(href), QUrl::StrictMode));
  }

  static DavCollection Entry(const QUrl& base, const DavResource& resource) {
    DavCollection entry{Resolved(base, resource.href), resource.displayName};
    if (entry.name.empty()) entry.name = entry.url.adjusted(QUrl::StripTrailingSlash).fileName().toStdString();
    return entry;
  }

  void Fail(const DavReply& reply) {
    found_.failure = reply.failure == DavFailure::None ? DavFailure::Http : reply.failure;
    found_.message = FailureMessage(reply);
    found_.certificate = reply.certificate;
    found_.collections.clear();
    done_(std::move(found_));
  }

  void Finish() {
    if (found_.collections.empty())
      found_.message = kind_ == DavKind::AddressBook ? "Auf dem Server wurde kein Adressbuch gefunden"
                                                     : "Auf dem Server wurde kein Kalender für Termine gefunden";
    done_(std::move(found_));
  }

  DavClient& client_;
  DavKind kind_;
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

void DiscoverCollections(DavClient& client, DavKind kind, std::function<void(Discovery)> done) {
  std::make_shared<Search>(client, kind, std::move(done))->Start();
}

}  // namespace vesk
