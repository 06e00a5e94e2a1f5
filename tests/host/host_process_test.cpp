#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registered_messages.h"
#include "platform/window_messages.h"

namespace vesk {
namespace {

constexpr int kWait = 20000;

std::vector<std::string> CommandLine(uint32_t process) {
  std::ifstream file("/proc/" + std::to_string(process) + "/cmdline");
  std::vector<std::string> arguments;
  for (std::string argument; std::getline(file, argument, '\0');) arguments.push_back(argument);
  return arguments;
}

bool HasArguments(uint32_t process, const std::string& lead, const std::string& repeat) {
  const std::vector<std::string> arguments = CommandLine(process);
  return std::count(arguments.begin(), arguments.end(), lead) == 1 &&
         std::count(arguments.begin(), arguments.end(), repeat) == 1;
}

std::optional<WindowHandle> HostWindow() { return FindWindow("TFRVeskTools", "Tools"); }
std::optional<WindowHandle> AlarmWindow() { return FindWindow("Alarm", "Alarm"); }

// An alarm window of another process than the given one, once there is one.
std::optional<WindowHandle> NewAlarm(uint32_t oldProcess) {
  std::optional<WindowHandle> alarm;
  if (!QTest::qWaitFor([&] { return (alarm = AlarmWindow()) && alarm->process != oldProcess; }, kWait)) {
    return std::nullopt;
  }
  return alarm;
}

// Every test has its own program folder and runtime folder, so that no other
// test's windows or reminder program are seen or stopped.
class HostProcessTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "host_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  }

  void SetUp() override {
    ASSERT_TRUE(home_.isValid() && runtime_.isValid());
    setenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit().constData(), 1);
    // No session bus: the host asks no secret store for the SIP password.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("VESK_HOME", home_.path().toLocal8Bit().constData(), 1);
    setenv("VESK_NONINTERACTIVE", "1", 1);
  }

  void StartHost(const QString& program = QStringLiteral(VESK_HOST_PROGRAM), const QStringList& arguments = {}) {
    host_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    host_.start(program, arguments);
    ASSERT_TRUE(host_.waitForStarted(kWait));
  }

  // SIGTERM, answered with the same clean end as closing the window.
  void EndHost() {
    ASSERT_EQ(kill(static_cast<pid_t>(host_.processId()), SIGTERM), 0);
    ASSERT_TRUE(host_.waitForFinished(kWait));
    EXPECT_EQ(host_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(host_.exitCode(), 0);
  }

  void WriteSettings(const std::string& lead, const std::string& repeat) {
    std::ofstream ini(home_.filePath("vesktools.ini").toStdString());
    ini << "[Alarm]\nVorwarnzeit=" << lead << "\nAlarmwiederholung=" << repeat << "\n";
  }

  QTemporaryDir home_;
  QTemporaryDir runtime_;
  QProcess host_;
};

TEST_F(HostProcessTest, StartsAsToolsWithDataAndEndsOnSignal) {
  StartHost();
  ASSERT_TRUE(QTest::qWaitFor([] { return HostWindow().has_value(); }, kWait));
  EXPECT_EQ(HostWindow()->process, static_cast<uint32_t>(host_.processId()));
  EXPECT_TRUE(QDir(home_.filePath("Data")).exists());
  // The tariff tables, made from the data beside the program.
  EXPECT_TRUE(QFile::exists(home_.filePath("Data/Tarife.mti")));
  EXPECT_TRUE(QFile::exists(home_.filePath("Data/Telefon.mti")));
  EndHost();
  EXPECT_FALSE(HostWindow());
}

TEST_F(HostProcessTest, WithoutTheLibraryReportsAndFails) {
  const QString copy = home_.filePath("vesktools");
  ASSERT_TRUE(QFile::copy(QStringLiteral(VESK_HOST_PROGRAM), copy));
  host_.setProcessChannelMode(QProcess::SeparateChannels);
  host_.start(copy, {});
  ASSERT_TRUE(host_.waitForFinished(kWait));
  EXPECT_NE(host_.exitCode(), 0);
  EXPECT_TRUE(host_.readAllStandardError().contains("libTools.so"));
  EXPECT_FALSE(HostWindow());
}

TEST_F(HostProcessTest, EndsOnSignalWithAnErrorBoxOpenAndAWindowRefusingToClose) {
  // The host beside a library whose window is in trouble; the boxes really open.
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString program = folder.filePath("vesktools");
  ASSERT_TRUE(QFile::copy(QStringLiteral(VESK_HOST_PROGRAM), program));
  ASSERT_TRUE(QFile::copy(QStringLiteral(TOOLS_IN_TROUBLE), folder.filePath("libTools.so")));
  setenv("VESK_NONINTERACTIVE", "0", 1);
  host_.setProcessChannelMode(QProcess::SeparateChannels);
  host_.start(program, {});
  ASSERT_TRUE(host_.waitForStarted(kWait));
  QByteArray errors;
  const QByteArray box = "Stur: kaputt\n";
  ASSERT_TRUE(QTest::qWaitFor([&] { return (errors += host_.readAllStandardError()).contains(box); }, kWait))
      << errors.toStdString();
  ASSERT_TRUE(HostWindow());
  QTest::qWait(200);
  EXPECT_EQ(errors.count(box), 1) << "the box waits for its answer";

  ASSERT_EQ(kill(static_cast<pid_t>(host_.processId()), SIGTERM), 0);
  ASSERT_TRUE(host_.waitForFinished(kWait)) << "the host did not end";
  EXPECT_EQ(host_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(host_.exitCode(), 0);
  EXPECT_FALSE(HostWindow());
}

#ifdef VESK_ALARM_PROGRAM

TEST_F(HostProcessTest, DrivesTheReminderProgram) {
  // An alarm left running by an earlier host.
  QProcess earlier;
  earlier.setStandardInputFile(QProcess::nullDevice());
  earlier.start(QStringLiteral(VESK_ALARM_PROGRAM), {});
  ASSERT_TRUE(QTest::qWaitFor([] { return AlarmWindow().has_value(); }, kWait));

  StartHost();
  ASSERT_TRUE(earlier.waitForFinished(kWait)) << "the earlier alarm is still running";
  EXPECT_EQ(earlier.exitCode(), 0);
  std::optional<WindowHandle> alarm = NewAlarm(static_cast<uint32_t>(earlier.processId()));
  ASSERT_TRUE(alarm);
  EXPECT_TRUE(HasArguments(alarm->process, "-v:120", "-w:10"));
  ASSERT_TRUE(QTest::qWaitFor([] { return HostWindow().has_value(); }, kWait));
  const uint16_t veskTools = RegisterWindowMessage("VeskTools");
  ASSERT_NE(veskTools, 0);

  // A window closed after the settings changed: restarted with them.
  WriteSettings("30", "5");
  ASSERT_TRUE(PostMessage(*HostWindow(), veskTools, 0, 0));
  alarm = NewAlarm(alarm->process);
  ASSERT_TRUE(alarm);
  EXPECT_TRUE(HasArguments(alarm->process, "-v:30", "-w:5"));

  // The reminder list rewritten: restarted with the same settings.
  ASSERT_TRUE(PostMessage(*HostWindow(), veskTools, 1, 0));
  alarm = NewAlarm(alarm->process);
  ASSERT_TRUE(alarm);
  EXPECT_TRUE(HasArguments(alarm->process, "-v:30", "-w:5"));

  EndHost();
  EXPECT_FALSE(AlarmWindow()) << "the host left its alarm running";
  EXPECT_NE(kill(static_cast<pid_t>(alarm->process), 0), 0);
}

TEST_F(HostProcessTest, MinimisedItKeepsAlarmRunningAndALaterStartHandsOverToIt) {
  StartHost(QStringLiteral(VESK_HOST_PROGRAM), {"--minimized"});
  std::optional<WindowHandle> alarm;
  ASSERT_TRUE(QTest::qWaitFor([&] { return HostWindow() && (alarm = AlarmWindow()); }, kWait));

  for (const QStringList& arguments : {QStringList{}, QStringList{"--minimized"}}) {
    QProcess later;
    later.start(QStringLiteral(VESK_HOST_PROGRAM), arguments);
    ASSERT_TRUE(later.waitForFinished(kWait)) << "a second host stays";
    EXPECT_EQ(later.exitCode(), 0);
  }
  EXPECT_EQ(AlarmWindow(), alarm) << "the later start touched the reminder program";
  EXPECT_EQ(HostWindow()->process, static_cast<uint32_t>(host_.processId()));
  EndHost();
  EXPECT_FALSE(AlarmWindow());
}

// On a desktop without a notification area (an X server with no tray) a
// host started minimised at login could not be reached if it hid itself:
// its window waits minimised in the task bar instead.
TEST_F(HostProcessTest, MinimisedWithoutANotificationAreaItStaysInTheTaskBar) {
  QProcess server;
  server.setProcessChannelMode(QProcess::SeparateChannels);
  server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
  ASSERT_TRUE(server.waitForReadyRead(kWait)) << "Xvfb did not start";
  const QString display = ":" + server.readLine().trimmed();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DISPLAY", display);
  environment.insert("QT_QPA_PLATFORM", "xcb");
  host_.setProcessEnvironment(environment);
  StartHost(QStringLiteral(VESK_HOST_PROGRAM), {"--minimized"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return HostWindow().has_value(); }, kWait));
  QProcess hints;
  hints.setProcessEnvironment(environment);
  QString state;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        hints.start("xprop", {"-name", "Tools", "WM_HINTS"});
        hints.waitForFinished(kWait);
        state = QString::fromLocal8Bit(hints.readAllStandardOutput());
        return state.contains("Initial state");
      },
      kWait))
      << "no window on the screen: " << state.toStdString();
  EXPECT_TRUE(state.contains("Iconic")) << state.toStdString();
  EndHost();
  server.terminate();
  server.waitForFinished(kWait);
}

#endif

}  // namespace
}  // namespace vesk
