// When the host syncs the addresses with the account's address book, and
// then, when one is chosen, the appointments with its calendar (section
// Abgleich of its INI file): at its start, once a window of the
// library has closed, every Intervall minutes, and by the button "Jetzt
// abgleichen", which stops a sync that runs. A sync waits while a window or
// another program holds the table for writing, and the status bar says so.
// A failure of the button's sync shows one box, a scheduled one's only the
// status bar; a refused login rests the schedule until the account changes.
// A sync that changed today's or later appointments rewrites the reminder
// list and has the host restart the reminder program, as the appointments
// window's closing does.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <string>

class QBoxLayout;

namespace vesk {

class DavClient;
class TButton;
class TFRVeskTools;
class TRadiRidir;
struct SyncOutcome;
struct SyncSettings;
struct TableSchema;

class AddressSyncSchedule : public QObject {
 public:
  // Puts the button into buttons; the status goes to the window's status bar.
  AddressSyncSchedule(QBoxLayout& buttons, TFRVeskTools& window);
  ~AddressSyncSchedule() override;

  // At the host's start: a sync now, then every Intervall minutes.
  void Begin();
  // A window of the library closed: it may have held the table.
  void WindowClosed();
  // The interval's turn.
  void Periodic();
  // The account was edited: a rest ends and the interval is read again.
  void SettingsChanged();
  bool Running() const { return client_ != nullptr; }

 private:
  enum class Asked { Scheduled, ByHand };
  void Run(Asked asked);
  void Sync(const QUrl& book);
  void Done(const SyncOutcome& outcome);
  // The addresses are synced: the appointments follow, when a calendar is chosen.
  void SyncAppointments(const SyncOutcome& addresses);
  void AppointmentsDone(const std::string& addresses, const SyncOutcome& outcome);
  void End();
  // The table, open for writing; false when it is held or cannot be opened
  // (a wait begun, or the failure told).
  bool OpenTable(const char* name, const TableSchema& schema, const char* window);
  // what: "Adressen" or "Termine", in the box of a sync by hand.
  void Failed(const std::string& message, bool loginRefused, const char* what = "Adressen");
  void Tell(const std::string& text);
  void ReadInterval(const SyncSettings& settings);

  TFRVeskTools& window_;
  TButton* button_;
  QTimer interval_;
  QTimer retry_;  // while the table is held
  std::unique_ptr<TRadiRidir> table_;
  std::unique_ptr<DavClient> client_;
  Asked asked_ = Asked::Scheduled;
  bool waiting_ = false;
  bool stopAsked_ = false;
  std::string calendar_;        // the calendar of the sync running, "" for none
  std::string account_;         // the account of the last sync begun
  std::string refusedAccount_;  // the account whose login was refused, "" while none was
};

}  // namespace vesk
