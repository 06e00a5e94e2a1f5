// The reminder program as a second process: found by class and caption,
// quit by "AlarmAus", and its failures at start.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QTest>

#include <fstream>
#include <memory>

#include "platform/ini_file.h"
#include "platform/registered_messages.h"
#include "platform/window_messages.h"
#include "runtime/datetime.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

// The program started with its own program folder, headless and with
// message boxes answered by their default button.
class AlarmProcess {
 public:
  // changes: variables set beyond those above.
  AlarmProcess(const std::string& home, const QStringList& arguments, const QProcessEnvironment& changes = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("VESK_HOME", QString::fromStdString(home));
    environment.insert("VESK_NONINTERACTIVE", "1");
    environment.insert("LC_ALL", "C");  // the runtime's German formats, as in this process
    for (const QString& name : changes.keys()) environment.insert(name, changes.value(name));
    process_.setProcessEnvironment(environment);
    process_.start(VESK_ALARM_PROGRAM, arguments);
    EXPECT_TRUE(process_.waitForStarted());
  }
  ~AlarmProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  AlarmProcess(const AlarmProcess&) = delete;
  AlarmProcess& operator=(const AlarmProcess&) = delete;

  // Its hidden window, once it has been registered.
  std::optional<WindowHandle> Window() {
    std::optional<WindowHandle> window;
    if (!QTest::qWaitFor([&] { return (window = FindWindow("Alarm", "Alarm")).has_value(); }, 10000)) {
      return std::nullopt;
    }
    return window;
  }
  uint32_t Pid() const { return static_cast<uint32_t>(process_.processId()); }
  // The exit code, or -1 when it does not end within the time or crashes.
  int ExitCode(int milliseconds = 10000) {
    if (!process_.waitForFinished(milliseconds) || process_.exitStatus() != QProcess::NormalExit) return -1;
    return process_.exitCode();
  }
  bool StillRunning(int milliseconds) { return !process_.waitForFinished(milliseconds); }
  // Everything written to standard error so far.
  const std::string& Errors() {
    errors_ += process_.readAllStandardError().toStdString();
    return errors_;
  }

 private:
  QProcess process_;
  std::string errors_;
};

class AlarmProgram : public testing::Test {
 protected:
  std::string Home() const { return home_.Path(); }
  std::string ListFile() const { return home_.File("termine.sav"); }

  TempFolder home_;
};

TEST_F(AlarmProgram, FoundByClassAndCaptionAndQuitsOnAPostedAlarmAus) {
  AlarmProcess alarm(Home(), {"-v:30", "-w:0"});
  std::optional<WindowHandle> window = alarm.Window();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->process, alarm.Pid());

  const uint16_t other = RegisterWindowMessage("VeskTools");
  ASSERT_TRUE(PostMessage(*window, other, 0, 0));
  EXPECT_TRUE(alarm.StillRunning(500)) << "other messages do not stop it";

  ASSERT_TRUE(PostMessage(*window, RegisterWindowMessage("AlarmAus"), 3, 4));
  EXPECT_EQ(alarm.ExitCode(), 0);
  EXPECT_FALSE(FindWindow("Alarm", "Alarm")) << "the window is gone with the program";
  EXPECT_NE(alarm.Errors().find("Wiederholungsintervall 0 Minuten"), std::string::npos) << alarm.Errors();
}

TEST_F(AlarmProgram, QuitsOnABroadcastAlarmAus) {
  ASSERT_TRUE(ProfileWriteString(ListFile(), DateToStr(Date()), "0", "23:59:59"));
  AlarmProcess alarm(Home(), {});
  ASSERT_TRUE(alarm.Window());
  BroadcastMessage(RegisterWindowMessage("alarmaus"), 1, 0);
  EXPECT_EQ(alarm.ExitCode(), 0);
  EXPECT_EQ(alarm.Errors().find("Wiederholungsintervall"), std::string::npos) << "10 minutes are fine";
}

TEST_F(AlarmProgram, AnUnreadableTimeStopsItAtStart) {
  ASSERT_TRUE(ProfileWriteString(ListFile(), DateToStr(Date()), "0", "09:00:00"));
  ASSERT_TRUE(ProfileWriteString(ListFile(), DateToStr(Date()), "1", "9 Uhr"));
  AlarmProcess alarm(Home(), {});
  const int code = alarm.ExitCode();
  EXPECT_NE(code, 0);
  EXPECT_NE(code, -1);
  EXPECT_NE(alarm.Errors().find("'9 Uhr' ist keine gültige Uhrzeit"), std::string::npos) << alarm.Errors();
  EXPECT_FALSE(FindWindow("Alarm", "Alarm"));
}

TEST_F(AlarmProgram, EndsWith255WhenItsWindowCannotBeRegistered) {
  // The runtime folder's place is taken by a file.
  TempFolder runtime;
  std::ofstream(runtime.File("vesktools")) << "not a folder";
  QProcessEnvironment changes;
  changes.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
  AlarmProcess alarm(Home(), {}, changes);
  EXPECT_EQ(alarm.ExitCode(), 255);
  EXPECT_NE(alarm.Errors().find("Error: Registrierung nicht ausgeführt"), std::string::npos) << alarm.Errors();
}

TEST_F(AlarmProgram, AsksOneIntervalAfterStartWithoutANotificationAreaAndQuitsFromAnOpenQuestion) {
  const TDateTime first = Time() + 30.0 / 1440;
  const TDateTime second = first + 1.0 / 1440;
  if (second >= 1) GTEST_SKIP() << "too close to midnight";
  ASSERT_TRUE(ProfileWriteString(ListFile(), DateToStr(Date()), "0", TimeToStr(first)));
  ASSERT_TRUE(ProfileWriteString(ListFile(), DateToStr(Date()), "1", TimeToStr(second)));
  // The question box really opens and waits, headless.
  QProcessEnvironment changes;
  changes.insert("VESK_NONINTERACTIVE", "0");
  AlarmProcess alarm(Home(), {"-w:1"}, changes);
  std::optional<WindowHandle> window = alarm.Window();
  ASSERT_TRUE(window);
  const std::string question = "Termin: \n  Sie haben einen Termin um ";
  EXPECT_EQ(alarm.Errors().find(question), std::string::npos) << "no check at start";
  ASSERT_TRUE(QTest::qWaitFor([&] { return alarm.Errors().find(question) != std::string::npos; }, 90000))
      << alarm.Errors();
  EXPECT_NE(alarm.Errors().find(question + TimeToStr(first) + "\n"), std::string::npos) << alarm.Errors();
  EXPECT_NE(alarm.Errors().find("alarm: kein Infobereich – die Erinnerungen kommen als Meldungsfenster\n"),
            std::string::npos)
      << alarm.Errors();

  ASSERT_TRUE(PostMessage(*window, RegisterWindowMessage("AlarmAus"), 0, 0));
  EXPECT_EQ(alarm.ExitCode(), 0) << "the open question does not hold the quit up";
  EXPECT_EQ(alarm.Errors().find(TimeToStr(second)), std::string::npos) << "nothing more is asked";
}

// The program's wall clock, set by the test through libfaketime; Qt's
// timers keep the real monotonic clock, as they do across a suspend.
class FakeWallClock {
 public:
  explicit FakeWallClock(const std::string& start) : file_(folder_.File("faketime")) { Set(start); }
  // "@2026-12-10 12:00:00", a local time, or "+<seconds>" from now: the
  // clock goes on from there.
  void Set(const std::string& moment) { std::ofstream(file_, std::ios::trunc) << moment << "\n"; }
  // A moment in UTC as Set takes it, for local times that occur twice.
  static std::string AtUtc(const char* moment) {
    const QDateTime at = QDateTime::fromString(moment, Qt::ISODate);
    return "+" + std::to_string(at.toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch());
  }
  QProcessEnvironment Environment(const char* zone) const {
    QProcessEnvironment changes;
    changes.insert("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
    changes.insert("FAKETIME_TIMESTAMP_FILE", QString::fromStdString(file_));
    changes.insert("FAKETIME_NO_CACHE", "1");
    changes.insert("DONT_FAKE_MONOTONIC", "1");
    changes.insert("TZ", zone);
    // Under the sanitizers the preloaded library comes before their runtime.
    const QString asan = QProcessEnvironment::systemEnvironment().value("ASAN_OPTIONS");
    changes.insert("ASAN_OPTIONS", asan + (asan.isEmpty() ? "" : ":") + "verify_asan_link_order=0");
    return changes;
  }

 private:
  TempFolder folder_;
  std::string file_;
};

// The machine sleeps over an appointment (the wall clock jumps three hours
// while the monotonic one stands): the box naming it comes within the
// heartbeat, and the time is not asked about.
TEST_F(AlarmProgram, AJumpOfTheWallClockNamesTheMissedAppointment) {
  ASSERT_TRUE(ProfileWriteString(ListFile(), "10.12.2026", "0", "10:00:00"));
  ASSERT_TRUE(ProfileWriteString(ListFile(), "10.12.2026", "1", "18:00:00"));
  FakeWallClock clock("@2026-12-10 09:00:00");
  AlarmProcess alarm(Home(), {"-v:30", "-w:10"}, clock.Environment("Europe/Berlin"));
  ASSERT_TRUE(alarm.Window());
  clock.Set("@2026-12-10 12:00:00");
  const std::string missed = "Termin verpasst: Sie hatten einen Termin um 10:00\n";
  EXPECT_TRUE(QTest::qWaitFor([&] { return alarm.Errors().find(missed) != std::string::npos; }, 60000))
      << alarm.Errors();
  EXPECT_EQ(alarm.Errors().find("Sie haben einen Termin um"), std::string::npos) << alarm.Errors();
  EXPECT_EQ(alarm.Errors().find("18:00"), std::string::npos) << alarm.Errors();
}

// Reminder times are times of the wall clock: across the changes to and
// from summer time a check asks at the wall time, and the change itself is
// no jump of the clock.
TEST_F(AlarmProgram, AcrossSummerTimeChangesTheWallTimeCounts) {
  struct Change {
    const char* day;
    const char* start;     // in UTC, a minute's check before the change
    const char* reminder;  // due within the lead time once the change is past
  };
  // 01:59:30 CET and 02:59:30 CEST; the first check comes a minute later.
  const Change changes[] = {{"28.03.2027", "2027-03-28T00:59:30Z", "03:03:00"},
                            {"31.10.2027", "2027-10-31T00:59:30Z", "02:03:00"}};
  std::vector<std::unique_ptr<TempFolder>> homes;
  std::vector<std::unique_ptr<FakeWallClock>> clocks;
  std::vector<std::unique_ptr<AlarmProcess>> alarms;
  for (const Change& change : changes) {
    homes.push_back(std::make_unique<TempFolder>());
    ASSERT_TRUE(ProfileWriteString(homes.back()->File("termine.sav"), change.day, "0", change.reminder));
    clocks.push_back(std::make_unique<FakeWallClock>(FakeWallClock::AtUtc(change.start)));
    alarms.push_back(std::make_unique<AlarmProcess>(homes.back()->Path(), QStringList{"-v:5", "-w:1"},
                                                    clocks.back()->Environment("Europe/Berlin")));
  }
  for (size_t i = 0; i < alarms.size(); ++i) {
    const std::string question = std::string("Sie haben einen Termin um ") + changes[i].reminder;
    EXPECT_TRUE(QTest::qWaitFor([&] { return alarms[i]->Errors().find(question) != std::string::npos; }, 90000))
        << changes[i].day << ": " << alarms[i]->Errors();
    EXPECT_EQ(alarms[i]->Errors().find("Termin verpasst"), std::string::npos) << alarms[i]->Errors();
  }
}

// A private runtime folder for the whole program, inherited by the children,
// and the application object whose event loop serves the waits.
class ProgramEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    runtime_ = std::make_unique<TempFolder>();
    setenv("XDG_RUNTIME_DIR", runtime_->Path().c_str(), 1);
    application_ = std::make_unique<QCoreApplication>(argc_, argv_);
  }
  void TearDown() override {
    application_.reset();
    runtime_.reset();
  }

 private:
  int argc_ = 1;
  char name_[32] = "alarm_program_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> runtime_;
  std::unique_ptr<QCoreApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new ProgramEnvironment);

}  // namespace
}  // namespace vesk
