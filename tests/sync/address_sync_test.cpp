// Two program folders keeping their address tables in step through one
// Radicale address book: first syncs both ways, an edit on each side, a
// conflict on the same field and on different fields, deletions, a phone's
// card whose properties without a field survive an edit here, and a sync
// whose state was lost, which joins instead of doubling.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <optional>

#include "sync/address_sync.h"
#include "sync/card_listing.h"
#include "sync/card_writes.h"
#include "sync/sync_state.h"
#include "tests/support/radicale_server.h"
#include "tests/sync/wait.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// One computer: its address table and its sync of it.
class Computer {
 public:
  Computer(const std::string& folder, const RadicaleServer& server, const QUrl& book)
      : client_({QUrl(QString::fromStdString(server.Url())), "max", "geheim", ""}), book_(book) {
    std::filesystem::create_directories(folder);
    const TableSchema& schema = AdressenSchema();
    CreateTable(folder + "/adressen.mti", schema.fields, schema.indexes);
    table_.SetTableName(folder + "/adressen.mti");
    table_.Open();
  }

  SyncOutcome Sync(SyncHooks hooks = {}) {
    return Wait<SyncOutcome>(
        [&](auto done) { SyncAddresses(table_, client_, book_, EncodeDate(2026, 12, 10), done, hooks); });
  }
  void Add(const std::string& name, const std::string& telefon = "") {
    table_.Append();
    table_.FieldByName(adressen::kName)->SetAsString(name);
    if (!telefon.empty()) table_.FieldByName(adressen::kTelefon1)->SetAsString(telefon);
    table_.Post();
  }
  void Set(const std::string& name, const char* field, const std::string& value) {
    ASSERT_TRUE(Find(name)) << name;
    table_.Edit();
    table_.FieldByName(field)->SetAsString(value);
    table_.Post();
  }
  void Delete(const std::string& name) {
    ASSERT_TRUE(Find(name)) << name;
    table_.Delete();
  }
  std::string Get(const std::string& name, const char* field) {
    return Find(name) ? table_.FieldByName(field)->AsString() : "(fehlt)";
  }
  // "Name: Telefon1, Stadt, Email" of each record, in name order.
  std::vector<std::string> Records() {
    std::vector<std::string> records;
    for (table_.First(); !table_.Eof(); table_.Next()) {
      auto f = [&](const char* name) { return table_.FieldByName(name)->AsString(); };
      records.push_back(f(adressen::kName) + ": " + f(adressen::kTelefon1) + ", " + f(adressen::kStadt) + ", " +
                        f(adressen::kEmail));
    }
    std::sort(records.begin(), records.end());
    return records;
  }
  TRadiRidir& Table() { return table_; }
  DavClient& Client() { return client_; }

 private:
  bool Find(const std::string& name) {
    for (table_.First(); !table_.Eof(); table_.Next())
      if (table_.FieldByName(adressen::kName)->AsString() == name) return true;
    return false;
  }

  DavClient client_;
  QUrl book_;
  TRadiRidir table_;
};

class AddressSyncTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Listening()) << server_.Log();
    DavClient client({QUrl(QString::fromStdString(server_.Url())), "max", "geheim", ""});
    const DavReply made = Wait<DavReply>([&](auto done) {
      client.Send("MKCOL", book_,
                  "<?xml version='1.0'?><mkcol xmlns='DAV:' xmlns:C='urn:ietf:params:xml:ns:carddav'><set><prop>"
                  "<resourcetype><collection/><C:addressbook/></resourcetype></prop></set></mkcol>",
                  {}, done);
    });
    ASSERT_EQ(made.status, 201) << made.body;
  }

  size_t CardsOnServer() {
    return Wait<CardListing>([&](auto done) { ListEtags(here_.Client(), book_, done); }).present.size();
  }

  RadicaleServer server_;
  TempFolder folder_;
  QUrl book_{QString::fromStdString(server_.Url("/max/kontakte/"))};
  Computer here_{folder_.File("hier"), server_, book_};
  Computer there_{folder_.File("dort"), server_, book_};
};

TEST_F(AddressSyncTest, TwoComputersKeepOneAddressBook) {
  here_.Add("Müller", "0221 1");
  here_.Add("Schmidt", "0221 2");
  SyncOutcome first = here_.Sync();
  ASSERT_EQ(first.failure, DavFailure::None) << first.message;
  EXPECT_EQ(first.summary.Text(), "Adressen abgeglichen: 2 neu, 0 geändert, 0 gelöscht");
  EXPECT_EQ(CardsOnServer(), 2u);
  SyncOutcome second = there_.Sync();
  ASSERT_EQ(second.failure, DavFailure::None) << second.message;
  EXPECT_EQ(there_.Records(), here_.Records());
  // Nothing changed: one request, the sync report.
  const int sent = here_.Client().RequestsSent();
  EXPECT_EQ(here_.Sync().summary.Text(), "Adressen abgeglichen: 0 neu, 0 geändert, 0 gelöscht");
  EXPECT_EQ(here_.Client().RequestsSent() - sent, 1);

  // An edit on each side reaches the other.
  here_.Set("Müller", adressen::kTelefon1, "0221 11");
  there_.Set("Schmidt", adressen::kStadt, "Köln");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(here_.Records(), (std::vector<std::string>{"Müller: 0221 11, , ", "Schmidt: 0221 2, Köln, "}));
  EXPECT_EQ(there_.Records(), here_.Records());

  // Both change Müller: different fields are both kept; the same field keeps
  // the value typed on the computer that syncs second, the other below the note.
  here_.Set("Müller", adressen::kEmail, "hier@example.de");
  there_.Set("Müller", adressen::kEmail, "dort@example.de");
  there_.Set("Müller", adressen::kStadt, "Bonn");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  const SyncOutcome conflict = there_.Sync();
  ASSERT_EQ(conflict.failure, DavFailure::None) << conflict.message;
  EXPECT_EQ(conflict.summary.conflicts, 1);
  EXPECT_EQ(there_.Get("Müller", adressen::kEmail), "dort@example.de");
  EXPECT_EQ(there_.Get("Müller", adressen::kText), "Auf dem Server am 10.12.2026: Email = hier@example.de");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(here_.Records(),
            (std::vector<std::string>{"Müller: 0221 11, Bonn, dort@example.de", "Schmidt: 0221 2, Köln, "}));
  EXPECT_EQ(here_.Get("Müller", adressen::kText), there_.Get("Müller", adressen::kText));

  // A deletion here goes there; one changed there meanwhile comes back.
  here_.Delete("Schmidt");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(CardsOnServer(), 1u);
  const SyncOutcome gone = there_.Sync();
  ASSERT_EQ(gone.failure, DavFailure::None);
  EXPECT_EQ(gone.summary.Text(), "Adressen abgeglichen: 0 neu, 0 geändert, 1 gelöscht");
  EXPECT_EQ(there_.Records(), here_.Records());

  // The state lost (a sync killed before it was written): the next sync
  // joins the records to their cards instead of doubling them.
  std::filesystem::remove(SyncStateFile(TableFilePath(here_.Table().TableName())));
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(CardsOnServer(), 1u);
  EXPECT_EQ(here_.Records().size(), 1u);
}

TEST_F(AddressSyncTest, APhonesCardEditedHereKeepsWhatHasNoField) {
  const std::string phone =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nN:Köhler;Änne;;;\r\nFN:Änne Köhler\r\n"
      "TEL;TYPE=CELL:0171 1\r\nTEL;TYPE=HOME:02233 2\r\nTEL;TYPE=WORK:02233 3\r\nBDAY:1965-04-12\r\n"
      "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQ==\r\nX-PHONE-RINGTONE:Marimba\r\nEND:VCARD\r\n";
  ASSERT_EQ(Wait<WriteResult>([&](auto done) {
              PutCard(here_.Client(), book_.resolved(QUrl("phone-1.vcf")), phone, "", done);
            }).outcome,
            WriteOutcome::Written);
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  EXPECT_EQ(here_.Get("Köhler", adressen::kText), "");  // the birthday and photo stay out of Text
  here_.Set("Köhler", adressen::kStadt, "Hürth");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  const FetchedCards back = Wait<FetchedCards>(
      [&](auto done) { FetchCards(here_.Client(), book_, {book_.path().toStdString() + "phone-1.vcf"}, done); });
  ASSERT_EQ(back.cards.size(), 1u) << back.message;
  for (const char* kept : {"BDAY:1965-04-12", "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ", "TEL;TYPE=WORK:02233 3",
                           "X-PHONE-RINGTONE:Marimba", "Hürth"})
    EXPECT_NE(back.cards[0].text.find(kept), std::string::npos) << kept << "\n" << back.cards[0].text;
}

// The server's card changes between the listing and the write (another
// phone saved it just then): the write is refused (412), the card fetched
// and merged, and written again; nothing of either side is lost.
TEST_F(AddressSyncTest, ACardChangedThereWhileTheSyncWritesIsMergedNotOverwritten) {
  here_.Add("Weber", "0711 1");
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  here_.Set("Weber", adressen::kTelefon1, "0711 2");
  int raced = 0;
  const SyncOutcome outcome = here_.Sync({.beforeWrite = [&](const std::string& href) -> bool {
    if (raced++ > 0) return true;
    const FetchedCards now = Wait<FetchedCards>([&](auto done) { FetchCards(there_.Client(), book_, {href}, done); });
    if (now.cards.size() != 1u) return true;
    std::string card = now.cards[0].text;
    card.insert(card.find("END:VCARD"), "ADR:;;;Ulm;;;\r\n");
    EXPECT_EQ(Wait<WriteResult>([&](auto done) {
                PutCard(there_.Client(), book_.resolved(QUrl(QString::fromStdString(href))), card, now.cards[0].etag,
                        done);
              }).outcome,
              WriteOutcome::Written);
    return true;
  }});
  ASSERT_EQ(outcome.failure, DavFailure::None) << outcome.message;
  EXPECT_EQ(raced, 2);  // written twice: refused, then merged
  EXPECT_EQ(outcome.summary.conflicts, 0);
  EXPECT_EQ(here_.Records(), std::vector<std::string>{"Weber: 0711 2, Ulm, "});
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  EXPECT_EQ(there_.Records(), here_.Records());
}

// A sync ended before each of its writes in turn, as a killed program
// would, then run again: every address is there once, on both sides.
TEST_F(AddressSyncTest, ASyncKilledAtAnyWriteLeavesNoDuplicateAndLosesNothing) {
  for (const char* name : {"Adler", "Berger", "Claus"}) here_.Add(name);
  ASSERT_EQ(here_.Sync().failure, DavFailure::None);
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  int writes = 0;
  for (int kill = 0;; ++kill) {
    // New and changed addresses on both sides, and one deleted here.
    here_.Add("Neu hier " + std::to_string(kill));
    there_.Add("Neu dort " + std::to_string(kill));
    here_.Set("Adler", adressen::kStadt, "Stadt " + std::to_string(kill));
    if (kill == 0) here_.Delete("Claus");
    int seen = 0;
    const SyncOutcome killed = here_.Sync({.beforeWrite = [&](const std::string&) { return seen++ < kill; }});
    if (killed.failure == DavFailure::None) break;  // no write left to end before
    writes = std::max(writes, seen);
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(here_.Sync().failure, DavFailure::None) << kill;
      ASSERT_EQ(there_.Sync().failure, DavFailure::None) << kill;
    }
    const std::vector<std::string> records = here_.Records();
    EXPECT_EQ(there_.Records(), records) << kill;
    EXPECT_EQ(CardsOnServer(), records.size()) << kill;
    EXPECT_EQ(std::adjacent_find(records.begin(), records.end()), records.end()) << kill;
    EXPECT_EQ(here_.Get("Adler", adressen::kStadt), "Stadt " + std::to_string(kill));
    EXPECT_EQ(here_.Get("Claus", adressen::kName), "(fehlt)");
  }
  EXPECT_GE(writes, 2);
}

TEST_F(AddressSyncTest, AStoppedSyncAppliesNothingHalf) {
  // More cards than one multiget takes, so that the fetch can be stopped between batches.
  for (size_t i = 0; i < kMultigetBatch + 20; ++i) there_.Add("Karte " + std::to_string(1000 + i));
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  std::vector<std::string> told;
  const SyncOutcome stopped = here_.Sync({.progress = [&](const SyncProgress& progress) {
    told.push_back(progress.Text());
    return false;
  }});
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.failure, DavFailure::None) << stopped.message;
  EXPECT_EQ(told, std::vector<std::string>{"Abgleich: 100 von 120 Karten geholt"});
  EXPECT_TRUE(here_.Records().empty());

  // Stopped while writing: what went up counts, the rest goes at the next sync.
  here_.Add("Erster");
  here_.Add("Zweiter");
  here_.Add("Dritter");
  told.clear();
  const SyncOutcome writing = here_.Sync({.progress = [&](const SyncProgress& progress) {
    told.push_back(progress.Text());
    return progress.written == 0;
  }});
  EXPECT_TRUE(writing.stopped);
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), "Abgleich: 1 von 3 Karten geschrieben");
  EXPECT_EQ(here_.Records().size(), 123u);
  EXPECT_EQ(CardsOnServer(), 121u);
  const SyncOutcome rest = here_.Sync();
  ASSERT_EQ(rest.failure, DavFailure::None) << rest.message;
  EXPECT_EQ(rest.summary.added, 2);
  EXPECT_EQ(CardsOnServer(), 123u);
  ASSERT_EQ(there_.Sync().failure, DavFailure::None);
  EXPECT_EQ(there_.Records(), here_.Records());
}

}  // namespace
}  // namespace vesk
