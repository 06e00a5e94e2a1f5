// mtitool sync-vcard and sync-ics: one sync of an address table with the
// address book, or of an appointments table with the calendar, of the
// host's account, for scripts.
#include <QCoreApplication>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "mtitool/commands.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "sync/address_sync.h"
#include "sync/appointment_sync.h"
#include "sync/awaited.h"
#include "sync/collection_discovery.h"
#include "sync/sync_settings.h"
#include "tools/settings/alarm_settings.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/table_definition.h"
#include "tools/tables/table_schemas.h"
#include "tools/termine/reminder_list.h"

namespace vesk {
namespace {

template <class Result, class Start>
Result Await(Start start) {
  return *Awaited<Result>(start);
}

// The collection of the settings (kept: the URL under key); found and kept
// in the INI file when none is kept yet.
QUrl Collection(DavClient& client, DavKind kind, const std::string& kept, const char* key, const std::string& iniFile) {
  if (!kept.empty()) return QUrl(QString::fromStdString(kept));
  const Discovery found = Await<Discovery>([&](auto done) { DiscoverCollections(client, kind, done); });
  if (found.collections.empty()) throw Exception(found.message);
  if (found.collections.size() > 1) {
    std::string names;
    for (const DavCollection& collection : found.collections) names += "\n  " + collection.url.toString().toStdString();
    throw Exception(std::string("Auf dem Server sind mehrere ") +
                    (kind == DavKind::AddressBook ? "Adressbücher" : "Kalender") + "; tragen Sie eines als " + key +
                    " im Abschnitt " + kSyncSection + " von " + iniFile + " ein:" + names);
  }
  const std::string url = found.collections.front().url.toString().toStdString();
  ProfileWriteStringOrRaise(iniFile, kSyncSection, key, url);
  return found.collections.front().url;
}

// One sync of the table named by the command's argument; sync starts it
// and the outcome is printed.
void RunSync(const std::string& command, const Arguments& args, std::ostream& out, DavKind kind,
             const std::function<void(TRadiRidir&, DavClient&, const QUrl&, std::function<void(SyncOutcome)>)>& sync,
             const std::function<void(TRadiRidir&)>& after = {}) {
  if (args.size() != 1) throw UsageError(command + " takes a table name");
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
  const QUrl collection = kind == DavKind::AddressBook
                              ? Collection(client, kind, settings.book, kAddressBookKey, iniFile)
                              : Collection(client, kind, settings.calendar, kCalendarKey, iniFile);
  TRadiRidir table;
  OpenTable(table, args[0], false);
  const SyncOutcome outcome = Await<SyncOutcome>([&](auto done) { sync(table, client, collection, done); });
  if (outcome.failure != DavFailure::None) throw Exception(outcome.message);
  if (after) after(table);
  out << outcome.summary.Text() << "\n";
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}

}  // namespace

void SyncVCardCommand(const Arguments& args, std::ostream& out) {
  RunSync("sync-vcard", args, out, DavKind::AddressBook,
          [](TRadiRidir& table, DavClient& client, const QUrl& book, std::function<void(SyncOutcome)> done) {
            SyncAddresses(table, client, book, Date(), std::move(done));
          });
}

void SyncIcsCommand(const Arguments& args, std::ostream& out) {
  const CalendarSettings settings{UserTimeZone(), ReadAlarmSettings(ProgramFile("vesktools.ini")).leadMinutes, ""};
  RunSync(
      "sync-ics", args, out, DavKind::Calendar,
      [&settings](TRadiRidir& table, DavClient& client, const QUrl& calendar, std::function<void(SyncOutcome)> done) {
        SyncAppointments(table, client, calendar, Date(), settings, std::move(done));
      },
      // The program folder's appointments feed the reminder program.
      [](TRadiRidir& table) {
        if (!SameFile(TableFilePath(table.TableName()), ProgramFile(kTermineTable))) return;
        table.SetIndexName(kTermineIndex);
        const std::string path = ReminderListPath();
        if (!SaveReminderList(path, UpcomingReminders(table)))
          throw Exception("Die Terminliste " + path + " konnte nicht geschrieben werden.");
      });
}

}  // namespace vesk
