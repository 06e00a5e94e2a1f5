// The resume from suspend as logind announces it, on a message bus of the
// test's own standing in for the system bus.
#include "platform/system_events.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <fstream>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

constexpr char kBusConfig[] =
    "<busconfig><type>system</type><listen>unix:dir=%1</listen>"
    "<policy context=\"default\"><allow own=\"*\"/><allow send_destination=\"*\"/>"
    "<allow receive_sender=\"*\"/></policy></busconfig>";

class SystemBus {
 public:
  SystemBus() {
    const QString config = QString::fromStdString(folder_.File("bus.conf"));
    std::ofstream(config.toStdString())
        << QString(kBusConfig).arg(QString::fromStdString(folder_.Path())).toStdString();
    daemon_.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address"});
    if (daemon_.waitForReadyRead(10000)) address_ = daemon_.readLine().trimmed().toStdString();
  }
  ~SystemBus() {
    daemon_.kill();
    daemon_.waitForFinished();
  }
  const std::string& Address() const { return address_; }

 private:
  TempFolder folder_;
  QProcess daemon_;
  std::string address_;
};

GDBusConnection* Connect(const std::string& address) {
  return g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
}

void AnnounceSleep(GDBusConnection* connection, bool sleeping) {
  g_dbus_connection_emit_signal(connection, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                "PrepareForSleep", g_variant_new("(b)", sleeping), nullptr);
  g_dbus_connection_flush_sync(connection, nullptr, nullptr);
}

// logind on the bus: owns its name and announces sleep and wake.
class Logind {
 public:
  explicit Logind(const std::string& address) : connection_(Connect(address)) {
    if (connection_ == nullptr) return;
    GVariant* reply = g_dbus_connection_call_sync(
        connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.freedesktop.login1", 0u), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    if (reply != nullptr) g_variant_unref(reply);
  }
  ~Logind() {
    if (connection_ != nullptr) g_object_unref(connection_);
  }
  bool Connected() const { return connection_ != nullptr; }
  void PrepareForSleep(bool sleeping) { AnnounceSleep(connection_, sleeping); }
  // A sender of the same signal that is not logind.
  static void Impostor(const std::string& address) {
    GDBusConnection* other = Connect(address);
    ASSERT_NE(other, nullptr);
    AnnounceSleep(other, false);
    g_object_unref(other);
  }

 private:
  GDBusConnection* connection_;
};

TEST(SystemEvents, AResumeIsHeardOnceFromLogindAloneAndAMissingBusIsNoError) {
  {
    // No system bus: the events are made and go without a word.
    ScopedEnv none("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    int resumes = 0;
    SystemEvents events([&] { ++resumes; }, [] {});
    QTest::qWait(100);
    EXPECT_EQ(resumes, 0);
  }
  SystemBus bus;
  ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
  ScopedEnv system("DBUS_SYSTEM_BUS_ADDRESS", bus.Address());
  Logind logind(bus.Address());
  ASSERT_TRUE(logind.Connected());
  int resumes = 0;
  SystemEvents events([&] { ++resumes; }, [] {});
  QTest::qWait(300);  // the bus is reached in the background
  logind.PrepareForSleep(true);
  logind.Impostor(bus.Address());
  QTest::qWait(300);
  EXPECT_EQ(resumes, 0) << "going to sleep, or someone else, is no resume";
  logind.PrepareForSleep(false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return resumes == 1; }, 5000));
  QTest::qWait(100);
  EXPECT_EQ(resumes, 1);
}

TEST(SystemEvents, GoingBeforeTheBusIsReachedLeavesNothingBehind) {
  SystemBus bus;
  ScopedEnv system("DBUS_SYSTEM_BUS_ADDRESS", bus.Address());
  int resumes = 0;
  {
    SystemEvents events([&] { ++resumes; }, [] {});
  }
  QTest::qWait(300);  // the bus's late answer finds the events gone
  EXPECT_EQ(resumes, 0);
}

}  // namespace
}  // namespace vesk
