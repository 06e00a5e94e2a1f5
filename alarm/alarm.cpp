// The reminder program: loads today's reminder times without those already
// answered No today, shows its icon in the notification area and checks the
// list at every interval, after a resume and after a jump of the clock,
// taking each new day's list at midnight, until "AlarmAus" reaches its
// hidden window "Alarm".
#include <QApplication>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "alarm/VeskMsg.h"
#include "alarm/VeskProc.h"
#include "alarm/answered_reminders.h"
#include "alarm/check_interval.h"
#include "alarm/reminder_check.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/program_start.h"
#include "platform/registered_messages.h"
#include "platform/system_events.h"
#include "platform/wall_clock_watch.h"
#include "platform/window_messages.h"

namespace vesk {
namespace {

constexpr int kNotRegistered = 255;
constexpr int kListUnreadable = 1;

int RunAlarm(const std::vector<std::string>& arguments) {
  AlarmSettings settings;
  ReadOptions(arguments, settings);
  std::string listFile;
  std::string answeredFile;
  std::vector<TDateTime> reminderTimes;
  try {
    listFile = ProgramFile("termine.sav");
    answeredFile = ProgramFile("alarm.sav");
    reminderTimes = TodaysReminders(listFile, AnsweredReminders(answeredFile));
  } catch (const std::exception& error) {
    ShowMessage(error.what(), "Alarm", MbIcon::Error);
    return kListUnreadable;
  }
  AlarmAusMessage = RegisterWindowMessage(kAlarmAusMessageName);

  AnsweredReminders answered(answeredFile);
  ReminderCheck check(std::move(reminderTimes), settings.leadMinutes);
  check.OnNewDay = [&] { return TodaysReminders(listFile, answered); };
  check.OnAnsweredNo = [&](TDateTime day, TDateTime time) {
    if (!answered.Add(day, time)) {
      std::fprintf(stderr, "alarm: alarm.sav lässt sich nicht schreiben, die Antwort gilt bis zum Programmende\n");
    }
  };
  // Qt's timer stands still while the machine sleeps: a resume or a jump of
  // the clock checks at once, and names what passed meanwhile.
  // Watched from before the window can be found, so nothing slips by.
  SystemEvents events([&check] { check.CheckAfterClockJump(); }, nullptr);
  WallClockWatch clock([&check] { check.CheckAfterClockJump(); });
  QSystemTrayIcon tray(QIcon(":/icons/ICON1"));
  QTimer timer;
  auto quit = [&](uint16_t message, uintptr_t, intptr_t) {
    if (message != AlarmAusMessage) return;
    tray.hide();
    timer.stop();
    check.Stop();
    QCoreApplication::exit(0);
  };
  // Without an identifier for "AlarmAus" nothing could ever stop the program.
  std::unique_ptr<TopLevelWindow> window;
  if (AlarmAusMessage != 0) {
    try {
      window = std::make_unique<TopLevelWindow>("Alarm", "Alarm", quit);
    } catch (const std::exception&) {
      // Reported below, as a missing identifier is.
    }
  }
  if (!window) {
    ShowMessage("Registrierung nicht ausgeführt", "Error", MbIcon::None);
    return kNotRegistered;
  }

  // Shown once a notification area exists; the checks run without one too.
  tray.show();
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    std::fprintf(stderr, "alarm: kein Infobereich – die Erinnerungen kommen als Meldungsfenster\n");
  }
  const CheckInterval interval = CheckIntervalOf(settings.repeatMinutes);
  if (!interval.warning.empty()) std::fprintf(stderr, "%s\n", interval.warning.c_str());
  timer.setTimerType(Qt::VeryCoarseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&check] { check.CheckReminders(); });
  timer.start(interval.milliseconds);
  return QCoreApplication::exec();
}

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
  return vesk::RunDesktopProgram(argc, argv, [](const std::vector<std::string>& arguments) {
    QApplication::setWindowIcon(QIcon(":/icons/MAINICON"));
    return vesk::RunAlarm(arguments);
  });
}
