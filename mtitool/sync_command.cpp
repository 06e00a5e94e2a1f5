// mtitool sync-vcard: one sync of an address table with the address book of
// the host's account, for scripts.
#include <QCoreApplication>
#include <memory>
#include <optional>
#include <ostream>

#include "mtitool/commands.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "sync/address_sync.h"
#include "sync/awaited.h"
#include "sync/collection_discovery.h"
#include "sync/sync_settings.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

template <class Result, class Start>
Result Await(Start start) {
  return *Awaited<Result>(start);
}

// The address book of the settings; found and kept in the INI file when
// none is kept yet.
QUrl AddressBook(DavClient& client, const SyncSettings& settings, const std::string& iniFile) {
  if (!settings.book.empty()) return QUrl(QString::fromStdString(settings.book));
  const Discovery found = Await<Discovery>([&](auto done) { DiscoverCollections(client, DavKind::AddressBook, done); });
  if (found.collections.empty()) throw Exception(found.message);
  if (found.collections.size() > 1) {
    std::string names;
    for (const DavCollection& book : found.collections) names += "\n  " + book.url.toString().toStdString();
    throw Exception("Auf dem Server sind mehrere Adressbücher; tragen Sie eines als " + std::string(kAddressBookKey) +
                    " im Abschnitt " + kSyncSection + " von " + iniFile + " ein:" + names);
  }
  const std::string url = found.collections.front().url.toString().toStdString();
  ProfileWriteStringOrRaise(iniFile, kSyncSection, kAddressBookKey, url);
  return found.collections.front().url;
}

}  // namespace

void SyncVCardCommand(const Arguments& args, std::ostream& out) {
  if (args.size() != 1) throw UsageError("sync-vcard takes a table name");
  const std::string iniFile = ProgramFile("vesktools.ini");
  const SyncSettings settings = ReadSyncSettings(iniFile);
  if (settings.account.server.isEmpty())
    throw Exception("Kein Abgleich eingerichtet: im Abschnitt " + std::string(kSyncSection) + " von " + iniFile +
                    " fehlt der Server");
  std::unique_ptr<QCoreApplication> application;
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "mtitool";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  DavClient client(settings.account);
  const QUrl book = AddressBook(client, settings, iniFile);
  TRadiRidir table;
  OpenTable(table, args[0], false);
  const SyncOutcome outcome = Await<SyncOutcome>([&](auto done) { SyncAddresses(table, client, book, Date(), done); });
  if (outcome.failure != DavFailure::None) throw Exception(outcome.message);
  out << outcome.summary.Text() << "\n";
}

}  // namespace vesk
