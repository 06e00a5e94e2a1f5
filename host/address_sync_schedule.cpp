#include "host/address_sync_schedule.h"

#include <QBoxLayout>

#include "host/host_window.h"
#include "platform/ini_file.h"
#include "platform/message_box.h"
#include "runtime/datetime.h"
#include "sync/address_sync.h"
#include "sync/appointment_sync.h"
#include "sync/collection_discovery.h"
#include "sync/sync_settings.h"
#include "toolkit/button.h"
#include "tools/host_files.h"
#include "tools/settings/alarm_settings.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirError.h"
#include "tools/tables/table_schemas.h"
#include "tools/termine/reminder_list.h"

namespace vesk {
namespace {

constexpr char kSyncNow[] = "Jetzt abgleichen";
constexpr char kStopSync[] = "Abgleich anhalten";
// How often a sync waiting for the table tries again, beside the windows' closing.
constexpr int kRetryMs = 30 * 1000;

// What a refused login was refused for: the same account is not tried on schedule again.
std::string AccountKey(const SyncSettings& settings) {
  return settings.account.server.toString().toStdString() + '\n' + settings.account.user + '\n' +
         settings.account.password;
}

}  // namespace

AddressSyncSchedule::AddressSyncSchedule(QBoxLayout& buttons, TFRVeskTools& window)
    : window_(window), button_(new TButton(kSyncNow, &window)) {
  button_->setObjectName(kSyncNow);
  button_->OnClick = [this](TButton&) { Run(Asked::ByHand); };
  buttons.addWidget(button_);
  connect(&interval_, &QTimer::timeout, this, &AddressSyncSchedule::Periodic);
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMs);
  connect(&retry_, &QTimer::timeout, this, [this] { Run(asked_); });
}

AddressSyncSchedule::~AddressSyncSchedule() {
  // Requests still out end with the connection, and tell nobody.
  client_.reset();
}

void AddressSyncSchedule::Begin() { Run(Asked::Scheduled); }

void AddressSyncSchedule::WindowClosed() { Run(waiting_ ? asked_ : Asked::Scheduled); }

void AddressSyncSchedule::Periodic() { Run(Asked::Scheduled); }

void AddressSyncSchedule::SettingsChanged() {
  refusedAccount_.clear();
  Run(Asked::Scheduled);
}

void AddressSyncSchedule::ReadInterval(const SyncSettings& settings) {
  const int ms = settings.intervalMinutes * 60 * 1000;
  if (ms == 0) return interval_.stop();
  if (!interval_.isActive() || interval_.interval() != ms) interval_.start(ms);
}

void AddressSyncSchedule::Run(Asked asked) {
  if (Running()) {
    if (asked == Asked::ByHand) {
      stopAsked_ = true;
      window_.SetStatusText("Abgleich wird angehalten…");
    }
    return;
  }
  const SyncSettings settings = ReadSyncSettings(HostIniFile());
  ReadInterval(settings);
  if (settings.account.server.isEmpty()) {
    if (asked == Asked::ByHand)
      Tell("Der Abgleich ist noch nicht eingerichtet: tragen Sie unter „Abgleich…“ Server, Benutzer und Passwort ein.");
    return;
  }
  account_ = AccountKey(settings);
  calendar_ = settings.calendar;
  if (asked == Asked::Scheduled && account_ == refusedAccount_) return;
  // A sync asked for by hand stays so while it waits for the table.
  if (!waiting_ || asked_ != Asked::ByHand) asked_ = asked;
  if (!OpenTable(kAdressenTable, AdressenSchema(), "Adressen")) return;
  waiting_ = false;
  retry_.stop();
  stopAsked_ = false;
  client_ = std::make_unique<DavClient>(settings.account);
  button_->setText(QString::fromUtf8(kStopSync));
  window_.SetStatusText("Abgleich läuft…");
  if (!settings.book.empty()) return Sync(QUrl(QString::fromStdString(settings.book)));
  DiscoverCollections(*client_, DavKind::AddressBook, [this](Discovery found) {
    if (found.collections.size() != 1) {
      SyncOutcome failed;
      failed.failure = found.failure == DavFailure::None ? DavFailure::Http : found.failure;
      failed.message = found.collections.empty()
                           ? found.message
                           : "Auf dem Server sind mehrere Adressbücher; wählen Sie unter „Abgleich…“ "
                             "eines aus.";
      return Done(failed);
    }
    ProfileWriteString(HostIniFile(), kSyncSection, kAddressBookKey,
                       found.collections.front().url.toString().toStdString());
    Sync(found.collections.front().url);
  });
}

bool AddressSyncSchedule::OpenTable(const char* name, const TableSchema& schema, const char* window) {
  try {
    CreateTableWhenMissing(schema);
    table_ = std::make_unique<TRadiRidir>();
    table_->SetTableName(name);
    table_->Open();
    return true;
  } catch (const ETableInUse&) {
    table_.reset();
    waiting_ = true;
    window_.SetStatusText(std::string("Abgleich wartet, bis das Fenster ") + window + " geschlossen ist");
    retry_.start();
  } catch (const std::exception& error) {
    table_.reset();
    Failed(error.what(), false);
  }
  return false;
}

void AddressSyncSchedule::Sync(const QUrl& book) {
  SyncHooks hooks;
  hooks.progress = [this](const SyncProgress& progress) {
    if (!stopAsked_) window_.SetStatusText(progress.Text());
    return !stopAsked_;
  };
  SyncAddresses(
      *table_, *client_, book, Date(), [this](SyncOutcome outcome) { Done(outcome); }, std::move(hooks));
}

void AddressSyncSchedule::Done(const SyncOutcome& outcome) {
  table_.reset();
  if (outcome.failure == DavFailure::None && !outcome.stopped && !calendar_.empty()) return SyncAppointments(outcome);
  End();
  if (outcome.failure != DavFailure::None) return Failed(outcome.message, outcome.failure == DavFailure::LoginRefused);
  const SyncSummary& summary = outcome.summary;
  if (!outcome.stopped) return window_.SetStatusText(summary.Text());
  const bool some = summary.added + summary.changed + summary.deleted > 0;
  window_.SetStatusText(some ? "Abgleich angehalten; bis dahin " + summary.Text() : "Abgleich angehalten");
}

void AddressSyncSchedule::End() {
  // The connection goes once its answer has been handled.
  QTimer::singleShot(0, this, [done = std::shared_ptr<DavClient>(client_.release())] {});
  button_->setText(QString::fromUtf8(kSyncNow));
}

void AddressSyncSchedule::SyncAppointments(const SyncOutcome& addresses) {
  if (!OpenTable(kTermineTable, TermineSchema(), "Termine")) return End();
  table_->SetIndexName(kTermineIndex);
  SyncHooks hooks;
  hooks.progress = [this](const SyncProgress& progress) {
    if (!stopAsked_) window_.SetStatusText(progress.Text());
    return !stopAsked_;
  };
  const CalendarSettings settings{UserTimeZone(), ReadAlarmSettings(HostIniFile()).leadMinutes, ""};
  vesk::SyncAppointments(
      *table_, *client_, QUrl(QString::fromStdString(calendar_)), Date(), settings,
      [this, text = addresses.summary.Text()](SyncOutcome outcome) { AppointmentsDone(text, outcome); },
      std::move(hooks));
}

void AddressSyncSchedule::AppointmentsDone(const std::string& addresses, const SyncOutcome& outcome) {
  End();
  std::string reminders;
  if (outcome.summary.upcoming) {
    if (!SaveReminderList(ReminderListPath(), UpcomingReminders(*table_)))
      reminders = "; die Terminliste konnte nicht geschrieben werden";
  }
  table_.reset();
  if (outcome.failure != DavFailure::None)
    return Failed(outcome.message, outcome.failure == DavFailure::LoginRefused, "Termine");
  const std::string text = addresses + "; " + outcome.summary.Text() + (outcome.stopped ? " (angehalten)" : "");
  if (outcome.summary.upcoming && reminders.empty()) {
    // The host restarts the reminder program on it, and says so after the text.
    window_.ReminderListRewritten();
    window_.SetStatusText(text + "; " + window_.StatusText());
    return;
  }
  window_.SetStatusText(text + reminders);
}

void AddressSyncSchedule::Failed(const std::string& message, bool loginRefused, const char* what) {
  if (loginRefused) refusedAccount_ = account_;
  if (asked_ == Asked::ByHand) {
    window_.SetStatusText("Abgleich fehlgeschlagen");
    return Tell(std::string("Der Abgleich der ") + what + " ist fehlgeschlagen:\r" + message);
  }
  window_.SetStatusText("Abgleich fehlgeschlagen: " + message +
                        (loginRefused ? "; der regelmäßige Abgleich ruht, bis das Konto geändert ist" : ""));
}

void AddressSyncSchedule::Tell(const std::string& text) {
  ShowMessageBox({.text = text, .caption = "Tools", .icon = MbIcon::Warning, .owner = &window_});
}

}  // namespace vesk
