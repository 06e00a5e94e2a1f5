#include "bench/sync/sync_benchmarks.h"

#include <QEventLoop>
#include <filesystem>
#include <fstream>
#include <memory>

#include "sync/address_sync.h"
#include "sync/awaited.h"
#include "sync/card_listing.h"
#include "sync/dav_requests.h"
#include "sync/sync_state.h"
#include "tests/support/radicale_server.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk::bench {
namespace {

constexpr char kBook[] = "/max/kontakte/";

std::string Href(int64_t i) { return kBook + std::string("karte-") + std::to_string(i) + ".vcf"; }

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

// The server with its book of cards, started on first use.
class Server {
 public:
  explicit Server(int64_t cards) : cards_(cards) {
    const std::string folder = server_.Storage("max/kontakte");
    server_.AddAddressBook("max/kontakte", "Kontakte");
    for (int64_t i = 0; i < cards; ++i) std::ofstream(folder + "/karte-" + std::to_string(i) + ".vcf") << Card(i);
    if (!server_.Listening()) throw std::runtime_error("Radicale did not start: " + server_.Log());
    std::filesystem::create_directories(tables_.File("Data"));
    // Radicale reads each card once into its cache: done here, outside every timing.
    DavClient client(Account());
    const CardListing all = *Awaited<CardListing>([&](auto done) { ListEtags(client, Book(), done); });
    if (all.present.size() != static_cast<size_t>(cards))
      throw std::runtime_error("Radicale lists " + std::to_string(all.present.size()) + " cards");
  }

  int64_t Cards() const { return cards_; }
  QUrl Book() const { return QUrl(QString::fromStdString(server_.Url(kBook))); }
  DavAccount Account() const { return {QUrl(QString::fromStdString(server_.Url())), "max", "geheim", ""}; }
  // The address table, and beside it the sync state.
  std::string Table() const { return tables_.File("Data/adressen.mti"); }

 private:
  int64_t cards_;
  RadicaleServer server_;
  TempFolder tables_;
};

std::unique_ptr<Server>& TheServer() {
  static std::unique_ptr<Server> server;
  return server;
}

Server& ServerOf(int64_t cards) {
  auto& server = TheServer();
  if (!server || server->Cards() != cards) server = std::make_unique<Server>(cards);
  return *server;
}

void EmptyTable(const Server& server) {
  std::filesystem::remove(server.Table());
  std::filesystem::remove(SyncStateFile(server.Table()));
  const TableSchema& schema = AdressenSchema();
  CreateTable(server.Table(), schema.fields, schema.indexes);
}

SyncOutcome SyncOnce(const Server& server, DavClient& client) {
  TRadiRidir table;
  table.SetTableName(server.Table());
  table.Open();
  return *Awaited<SyncOutcome>(
      [&](auto done) { SyncAddresses(table, client, server.Book(), EncodeDate(2026, 12, 10), done); });
}

void Report(benchmark::State& state) {
  state.counters["per_card"] = benchmark::Counter(
      static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

void FirstSync(benchmark::State& state) {
  Server& server = ServerOf(state.range(0));
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
  Server& server = ServerOf(state.range(0));
  std::vector<std::vector<std::string>> batches;
  for (int64_t i = 0; i < state.range(0); ++i) {
    if (i % static_cast<int64_t>(kMultigetBatch) == 0) batches.emplace_back();
    batches.back().push_back(Href(i));
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
    for (const std::vector<std::string>& batch : batches) send(MultigetReport(DavKind::AddressBook, batch));
    benchmark::DoNotOptimize(bytes);
  }
  Report(state);
}

void UnchangedSync(benchmark::State& state) {
  Server& server = ServerOf(state.range(0));
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

void EndSyncBenchmarks() { TheServer().reset(); }

}  // namespace vesk::bench
