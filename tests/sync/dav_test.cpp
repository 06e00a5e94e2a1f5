// The WebDAV side of the address book sync against Radicale on loopback:
// multistatus answers read, address books found from what a user types,
// refused logins and unreachable servers told apart, cards listed and
// fetched, changes since a token, refused tokens, and the guarded writes.
#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QSslCertificate>
#include <memory>
#include <optional>

#include "sync/card_listing.h"
#include "sync/card_writes.h"
#include "sync/collection_discovery.h"
#include "sync/dav_multistatus.h"
#include "tests/support/radicale_server.h"
#include "tests/sync/wait.h"

namespace vesk {
namespace {

class CoreApplication : public testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QCoreApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[10] = "dav_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> application_;
};
const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new CoreApplication);

std::string Card(const std::string& uid, const std::string& name) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nN:" + name + ";;;;\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

TEST(DavAnswers, MultistatusAndStatusLines) {
  const DavMultistatus answer = ReadMultistatus(
      "<?xml version='1.0'?><d:multistatus xmlns:d='DAV:' xmlns:c='urn:ietf:params:xml:ns:carddav'>"
      "<d:response><d:href>/max/kontakte/</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>"
      "<c:addressbook/></d:resourcetype><d:displayname>Kontakte</d:displayname></d:prop>"
      "<d:status>HTTP/1.1 200 OK</d:status></d:propstat><d:propstat><d:prop><d:getctag/></d:prop>"
      "<d:status>HTTP/1.1 404 Not Found</d:status></d:propstat></d:response>"
      "<d:response><d:href>/max/kontakte/a.vcf</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>"
      "<d:response><d:href>/max/kontakte/b.vcf</d:href><d:propstat><d:prop><d:getetag>\"e1\"</d:getetag>"
      "<c:address-data>BEGIN:VCARD&#13;\nEND:VCARD&#13;\n</c:address-data></d:prop>"
      "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>"
      "<d:sync-token>http://radicale.org/ns/sync/42</d:sync-token></d:multistatus>");
  ASSERT_EQ(answer.resources.size(), 3u);
  EXPECT_TRUE(answer.resources[0].collection && answer.resources[0].addressBook);
  EXPECT_EQ(answer.resources[0].displayName, "Kontakte");
  EXPECT_EQ(answer.resources[1].status, 404);
  EXPECT_EQ(answer.resources[2].etag, "\"e1\"");
  EXPECT_EQ(answer.resources[2].data, "BEGIN:VCARD\r\nEND:VCARD\r\n");
  EXPECT_EQ(answer.syncToken, "http://radicale.org/ns/sync/42");

  for (const char* text : {"", "<html><body>Anmeldung</body></html>", "<d:multistatus xmlns:d='DAV:'><d:response>"})
    EXPECT_THROW(ReadMultistatus(text), EDavAnswer) << text;
  EXPECT_EQ(StatusOfLine("HTTP/1.1 507 Insufficient Storage"), 507);
  EXPECT_EQ(StatusOfLine("HTTP/1.1"), 0);
  EXPECT_EQ(StatusOfLine("HTTP/1.1 20"), 0);
}

class DavServerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Listening()) << server_.Log();
    const DavReply made = Wait<DavReply>([&](auto done) {
      client_.Send("MKCOL", book_,
                   "<?xml version='1.0'?><mkcol xmlns='DAV:' xmlns:C='urn:ietf:params:xml:ns:carddav'><set><prop>"
                   "<resourcetype><collection/><C:addressbook/></resourcetype><displayname>Kontakte</displayname>"
                   "</prop></set></mkcol>",
                   {}, done);
    });
    ASSERT_EQ(made.status, 201) << made.body << server_.Log();
  }

  QUrl CardUrl(const std::string& name) const { return book_.resolved(QUrl(QString::fromStdString(name))); }

  WriteResult Put(const std::string& name, const std::string& card, const std::string& etag = "") {
    return Wait<WriteResult>([&](auto done) { PutCard(client_, CardUrl(name), card, etag, done); });
  }

  RadicaleServer server_;
  DavClient client_{{QUrl(QString::fromStdString(server_.Host())), "max", "geheim", ""}};
  QUrl book_{QString::fromStdString(server_.Url("/max/kontakte/"))};
};

TEST_F(DavServerTest, AddressBooksAndCalendarsAreFoundFromWhatTheUserTypes) {
  for (const std::string& typed : {server_.Url("/"), server_.Url("/max/"), server_.Url("/max/kontakte/")}) {
    DavClient client({QUrl(QString::fromStdString(typed)), "max", "geheim", ""});
    const Discovery found =
        Wait<Discovery>([&](auto done) { DiscoverCollections(client, DavKind::AddressBook, done); });
    ASSERT_EQ(found.collections.size(), 1u) << typed << ": " << found.message;
    EXPECT_EQ(found.collections[0].url, book_) << typed;
    EXPECT_EQ(found.collections[0].name, "Kontakte");
  }
  EXPECT_EQ(ServerUrl("nas.local").toString().toStdString(), "https://nas.local/");

  // Beside the address book, a calendar of events and a list of tasks: each
  // kind finds its own alone, and a calendar without the component set
  // takes events too.
  server_.AddCalendar("max/privat", "Privat", "VEVENT,VTODO");
  server_.AddCalendar("max/aufgaben", "Aufgaben", "VTODO");
  server_.AddCalendar("max/alt", "Alt", "");
  for (const std::string& typed : {server_.Url("/"), server_.Url("/max/")}) {
    DavClient client({QUrl(QString::fromStdString(typed)), "max", "geheim", ""});
    const Discovery found = Wait<Discovery>([&](auto done) { DiscoverCollections(client, DavKind::Calendar, done); });
    std::vector<std::string> names;
    for (const DavCollection& calendar : found.collections) names.push_back(calendar.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Alt", "Privat"})) << typed << ": " << found.message;
    EXPECT_EQ(
        Wait<Discovery>([&](auto done) { DiscoverCollections(client, DavKind::AddressBook, done); }).collections.size(),
        1u);
  }
  // The task list's own URL typed: the account's calendars of events are offered.
  DavClient tasks({QUrl(QString::fromStdString(server_.Url("/max/aufgaben/"))), "max", "geheim", ""});
  EXPECT_EQ(Wait<Discovery>([&](auto done) { DiscoverCollections(tasks, DavKind::Calendar, done); }).collections.size(),
            2u);

  DavClient wrong({QUrl(QString::fromStdString(server_.Url())), "max", "falsch", ""});
  const Discovery refused = Wait<Discovery>([&](auto done) { DiscoverCollections(wrong, DavKind::AddressBook, done); });
  EXPECT_EQ(refused.failure, DavFailure::LoginRefused);
  EXPECT_TRUE(refused.collections.empty());

  DavClient nobody({QUrl("http://127.0.0.1:9/"), "max", "geheim", ""});
  const Discovery unreachable =
      Wait<Discovery>([&](auto done) { DiscoverCollections(nobody, DavKind::AddressBook, done); });
  EXPECT_EQ(unreachable.failure, DavFailure::Unreachable);
  EXPECT_TRUE(unreachable.message.starts_with("Der Server ist nicht erreichbar")) << unreachable.message;
}

TEST_F(DavServerTest, CardsListedFetchedChangedAndDeletedUnderTheirEtags) {
  const WriteResult anna = Put("anna.vcf", Card("anna", "Anna"));
  ASSERT_EQ(anna.outcome, WriteOutcome::Written) << anna.reply.body;
  ASSERT_EQ(Put("bernd.vcf", Card("bernd", "Bernd")).outcome, WriteOutcome::Written);
  // A new card where one is: refused, nothing overwritten.
  EXPECT_EQ(Put("anna.vcf", Card("anna", "Andere")).outcome, WriteOutcome::ChangedThere);

  const CardListing first = Wait<CardListing>([&](auto done) { ListChanges(client_, book_, "", done); });
  ASSERT_EQ(first.failure, DavFailure::None) << first.message;
  ASSERT_EQ(first.present.size(), 2u);
  EXPECT_FALSE(first.token.empty());
  std::vector<std::string> hrefs;
  for (const CardEntry& entry : first.present) hrefs.push_back(entry.href);
  hrefs.push_back("/max/kontakte/nie.vcf");
  const FetchedCards fetched = Wait<FetchedCards>([&](auto done) { FetchCards(client_, book_, hrefs, done); });
  ASSERT_EQ(fetched.cards.size(), 2u) << fetched.message;
  EXPECT_EQ(fetched.missing, std::vector<std::string>{"/max/kontakte/nie.vcf"});
  EXPECT_NE(fetched.cards[0].text.find("BEGIN:VCARD"), std::string::npos);

  // Changed with the etag last seen; then that etag is stale.
  const FetchedCard& seen = fetched.cards[0];
  const QUrl url = book_.resolved(QUrl(QString::fromStdString(seen.href)));
  std::string edited = seen.text;
  edited.insert(edited.find("END:VCARD"), "NOTE:geändert\r\n");
  const WriteResult changed = Wait<WriteResult>([&](auto done) { PutCard(client_, url, edited, seen.etag, done); });
  ASSERT_EQ(changed.outcome, WriteOutcome::Written) << changed.reply.status << changed.reply.body;
  EXPECT_EQ(Wait<WriteResult>([&](auto done) { PutCard(client_, url, seen.text, seen.etag, done); }).outcome,
            WriteOutcome::ChangedThere);
  EXPECT_EQ(Wait<WriteResult>([&](auto done) { DeleteCard(client_, url, seen.etag, done); }).outcome,
            WriteOutcome::ChangedThere);
  std::string fresh = changed.etag;
  if (fresh.empty())
    for (const CardEntry& entry : Wait<CardListing>([&](auto done) { ListEtags(client_, book_, done); }).present)
      if (entry.href == seen.href) fresh = entry.etag;
  EXPECT_EQ(Wait<WriteResult>([&](auto done) { DeleteCard(client_, url, fresh, done); }).outcome,
            WriteOutcome::Written);
  // Another resource with the UID of a card that is there.
  EXPECT_EQ(Put("doppelt.vcf", fetched.cards[1].text).outcome, WriteOutcome::UidTaken);

  const CardListing since = Wait<CardListing>([&](auto done) { ListChanges(client_, book_, first.token, done); });
  ASSERT_EQ(since.failure, DavFailure::None) << since.message;
  EXPECT_EQ(since.removed, std::vector<std::string>{seen.href});
  EXPECT_TRUE(since.present.empty());
  EXPECT_NE(since.token, first.token);

  const CardListing stale =
      Wait<CardListing>([&](auto done) { ListChanges(client_, book_, "http://radicale.org/ns/sync/0000", done); });
  EXPECT_TRUE(stale.tokenRefused) << stale.message;
}

// A home NAS with a certificate of its own: refused with its fingerprint,
// then trusted by that fingerprint alone.
TEST(DavTls, ASelfSignedCertificateIsRefusedThenTrustedByItsFingerprint) {
  RadicaleServer server("max:geheim\n", RadicaleServer::Transport::Tls);
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  const QList<QSslCertificate> certificates = QSslCertificate::fromPath(QString::fromStdString(server.Certificate()));
  ASSERT_EQ(certificates.size(), 1);
  const std::string fingerprint = Fingerprint(certificates.front().toDer());
  const QUrl url(QString::fromStdString(server.Url()));

  DavClient wary({url, "max", "geheim", ""});
  const Discovery refused = Wait<Discovery>([&](auto done) { DiscoverCollections(wary, DavKind::AddressBook, done); });
  EXPECT_EQ(refused.failure, DavFailure::UntrustedCertificate);
  EXPECT_NE(refused.message.find(fingerprint), std::string::npos) << refused.message;

  // Another fingerprint: its first digit changed, whatever it was.
  std::string wrong = fingerprint;
  wrong[0] = wrong[0] == '0' ? '1' : '0';
  DavClient other({url, "max", "geheim", wrong});
  EXPECT_EQ(Wait<Discovery>([&](auto done) { DiscoverCollections(other, DavKind::AddressBook, done); }).failure,
            DavFailure::UntrustedCertificate);

  DavClient trusting({url, "max", "geheim", fingerprint});
  const Discovery found =
      Wait<Discovery>([&](auto done) { DiscoverCollections(trusting, DavKind::AddressBook, done); });
  ASSERT_EQ(found.collections.size(), 1u) << found.message;
  EXPECT_EQ(found.collections[0].url.toString().toStdString(), server.Url("/max/kontakte/"));
}

}  // namespace
}  // namespace vesk
