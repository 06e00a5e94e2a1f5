#include "bench/sync/sync_benchmarks.h"

#include <QDate>
#include <QEventLoop>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "sync/address_sync.h"
#include "sync/appointment_sync.h"
#include "sync/awaited.h"
#include "sync/card_listing.h"
#include "sync/dav_requests.h"
#include "sync/sync_state.h"
#include "tests/support/phone_calendar.h"
#include "tests/support/radicale_server.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk::bench {
namespace {

// The second argument of each benchmark: 0 for cards, 1 for events.
DavKind KindOf(const benchmark::State& state) { return state.range(1) == 0 ? DavKind::AddressBook : DavKind::Calendar; }

std::string Collection(DavKind kind) { return kind == DavKind::AddressBook ? "max/kontakte" : "max/termine"; }

std::string Name(DavKind kind, int64_t i) {
  return (kind == DavKind::AddressBook ? "karte-" : "termin-") + std::to_string(i) +
         (kind == DavKind::AddressBook ? ".vcf" : ".ics");
}

std::string Href(DavKind kind, int64_t i) { return "/" + Collection(kind) + "/" + Name(kind, i); }

// A phone's card: several numbers and mail addresses, an address, a
// birthday, categories and a folded note with umlauts.
std::string Card(int64_t i) {
  const std::string n = std::to_string(i);
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:karte-" + n + "\r\nN:Müller-" + n + ";Jürgen;;;\r\nFN:Jürgen Müller-" + n +
         "\r\nTEL;TYPE=CELL:+49 170 " + n + "\r\nTEL;TYPE=HOME:0221 " + n + "\r\nTEL;TYPE=WORK:0221 9" + n +
         "\r\nEMAIL;TYPE=INTERNET:j" + n + "@example.de\r\nADR;TYPE=HOME:;;Hauptstraße " + n +
         ";Köln;;50667;Deutschland\r\nBDAY:1970-01-01\r\nORG:Beispiel GmbH\r\nCATEGORIES:Kunden,Messe\r\n"
         "NOTE:Erste Zeile\\nZweite Zeile mit Ümlaut\r\n  und gefaltet\r\nEND:VCARD\r\n";
}

// A phone's event in Berlin: a place, a remark with umlauts, an alarm of
// its own; spread over the coming year, at different hours.
std::string Event(int64_t i) {
  const std::string n = std::to_string(i);
  const QDate day = QDate(2027, 1, 1).addDays(i % 360);
  char start[32];
  std::snprintf(start, sizeof start, "%04d%02d%02dT%02d%02d00", day.year(), day.month(), day.day(),
                static_cast<int>(8 + i % 10), static_cast<int>(i % 4 * 15));
  return std::string(kPhoneCalendarInBerlin) + "BEGIN:VEVENT\r\nUID:termin-" + n +
         "@phone\r\nDTSTAMP:20261201T100000Z\r\nDTSTART;TZID=Europe/Berlin:" + start +
         "\r\nDURATION:PT1H\r\nSUMMARY:Besprechung " + n + "\r\nLOCATION:Raum " + n +
         "\r\nDESCRIPTION:Unterlagen für Frau Müller\\nmitbringen\r\nCATEGORIES:Arbeit\r\n"
         "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:Besprechung\r\nEND:VALARM\r\n"
         "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The server with its address book of cards or calendar of events,
// started on first use.
class Server {
 public:
  Server(DavKind kind, int64_t count) : kind_(kind), count_(count) {
    const std::string folder = server_.Storage(Collection(kind));
    if (kind == DavKind::AddressBook)
      server_.AddAddressBook(Collection(kind), "Kontakte");
    else
      server_.AddCalendar(Collection(kind), "Termine", "VEVENT");
    for (int64_t i = 0; i < count; ++i)
      std::ofstream(folder + "/" + Name(kind, i)) << (kind == DavKind::AddressBook ? Card(i) : Event(i));
    if (!server_.Listening()) throw std::runtime_error("Radicale did not start: " + server_.Log());
    std::filesystem::create_directories(tables_.File("Data"));
    // Radicale reads and parses each resource once into its cache, for
    // the listing and for the multigets: done here, outside every timing.
    DavClient client(Account());
    const CardListing all = *Awaited<CardListing>([&](auto done) { ListEtags(client, Book(), done); });
    if (all.present.size() != static_cast<size_t>(count))
      throw std::runtime_error("Radicale lists " + std::to_string(all.present.size()) + " resources");
    std::vector<std::string> hrefs;
    for (const CardEntry& entry : all.present) hrefs.push_back(entry.href);
    const FetchedCards fetched =
        *Awaited<FetchedCards>([&](auto done) { FetchCards(client, Book(), hrefs, done, {}, kind); });
    if (fetched.cards.size() != hrefs.size()) throw std::runtime_error("Radicale did not give every resource");
  }

  DavKind Kind() const { return kind_; }
  int64_t Count() const { return count_; }
  QUrl Book() const { return QUrl(QString::fromStdString(server_.Url("/" + Collection(kind_) + "/"))); }
  DavAccount Account() const { return {QUrl(QString::fromStdString(server_.Url())), "max", "geheim", ""}; }
  // The table, and beside it the sync state.
  std::string Table() const { return tables_.File(kind_ == DavKind::AddressBook ? kAdressenTable : kTermineTable); }

 private:
  DavKind kind_;
  int64_t count_;
  RadicaleServer server_;
  TempFolder tables_;
};

// One server for each kind, kept while the benchmarks take turns.
std::map<std::pair<DavKind, int64_t>, std::unique_ptr<Server>>& TheServers() {
  static std::map<std::pair<DavKind, int64_t>, std::unique_ptr<Server>> servers;
  return servers;
}

Server& ServerOf(const benchmark::State& state) {
  std::unique_ptr<Server>& server = TheServers()[{KindOf(state), state.range(0)}];
  if (!server) server = std::make_unique<Server>(KindOf(state), state.range(0));
  return *server;
}

void EmptyTable(const Server& server) {
  std::filesystem::remove(server.Table());
  std::filesystem::remove(SyncStateFile(server.Table()));
  const TableSchema& schema = server.Kind() == DavKind::AddressBook ? AdressenSchema() : TermineSchema();
  CreateTable(server.Table(), schema.fields, schema.indexes);
}

SyncOutcome SyncOnce(const Server& server, DavClient& client) {
  TRadiRidir table;
  table.SetTableName(server.Table());
  table.Open();
  const TDateTime today = EncodeDate(2026, 12, 10);
  return *Awaited<SyncOutcome>([&](auto done) {
    if (server.Kind() == DavKind::AddressBook)
      SyncAddresses(table, client, server.Book(), today, done);
    else
      SyncAppointments(table, client, server.Book(), today, {"Europe/Berlin", 120, ""}, done);
  });
}

void Report(benchmark::State& state) {
  state.counters["per_resource"] = benchmark::Counter(
      static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

void FirstSync(benchmark::State& state) {
  Server& server = ServerOf(state);
  for (auto _ : state) {
    state.PauseTiming();
    EmptyTable(server);
    DavClient client(server.Account());
    state.ResumeTiming();
    const SyncOutcome outcome = SyncOnce(server, client);
    if (outcome.failure != DavFailure::None || outcome.summary.added != state.range(0))
      state.SkipWithError(("first sync: " + outcome.message).c_str());
  }
  Report(state);
}

void BareClient(benchmark::State& state) {
  Server& server = ServerOf(state);
  std::vector<std::vector<std::string>> batches;
  for (int64_t i = 0; i < state.range(0); ++i) {
    if (i % static_cast<int64_t>(kMultigetBatch) == 0) batches.emplace_back();
    batches.back().push_back(Href(server.Kind(), i));
  }
  for (auto _ : state) {
    DavClient client(server.Account());
    size_t bytes = 0;
    auto send = [&](const std::string& body) {
      const DavReply reply = *Awaited<DavReply>([&](auto done) {
        client.Send("REPORT", server.Book(), body, {{"Depth", "1"}}, done);
      });
      if (reply.status != 207) state.SkipWithError("the server did not answer 207");
      bytes += reply.body.size();
    };
    send(SyncCollectionReport(""));
    for (const std::vector<std::string>& batch : batches) send(MultigetReport(server.Kind(), batch));
    benchmark::DoNotOptimize(bytes);
  }
  Report(state);
}

void UnchangedSync(benchmark::State& state) {
  Server& server = ServerOf(state);
  EmptyTable(server);
  {
    DavClient client(server.Account());
    if (SyncOnce(server, client).failure != DavFailure::None) return state.SkipWithError("first sync failed");
  }
  int requests = 0;
  for (auto _ : state) {
    DavClient client(server.Account());
    const SyncOutcome outcome = SyncOnce(server, client);
    if (outcome.failure != DavFailure::None || outcome.summary.added + outcome.summary.changed > 0)
      state.SkipWithError("the unchanged sync changed something");
    requests = client.RequestsSent();
  }
  state.counters["requests"] = requests;
}

void EndSyncBenchmarks() { TheServers().clear(); }

}  // namespace vesk::bench
