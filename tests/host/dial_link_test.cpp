// Telephone links of other programs, in a desktop of their own: the desktop
// entry installed in a temporary XDG world and made the default handler of
// tel:, xdg-open handing a link to a running host, --dial starting one, and
// malformed links refused; SIPp on loopback is the far end that checks the
// number called.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <string>

#include "platform/telephony/sip_account.h"
#include "platform/window_messages.h"
#include "tests/support/sipp_peer.h"

namespace vesk {
namespace {

constexpr int kWait = 20000;
constexpr char kLink[] = "tel:+49-711-123456";
// Fails unless the first call is to +49 711 123456.
constexpr char kScenario[] = VESK_SOURCE_DIR "/tests/platform/sipp/busy_for_49711123456.xml";

struct Outcome {
  int code = -1;
  QString output;
};

std::optional<WindowHandle> HostWindow() { return FindWindow("TFRVeskTools", "Tools"); }
std::optional<WindowHandle> AddressWindow() { return FindWindow("TFRAdressen", "Adressen"); }

class DialLinkTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "dial_link_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  }

  void SetUp() override {
    ASSERT_TRUE(world_.isValid());
    for (const char* folder : {"home", "data/applications", "config", "system", "runtime", "bin"}) {
      ASSERT_TRUE(QDir().mkpath(Path(folder)));
    }
    ASSERT_TRUE(QFile::setPermissions(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    environment_.insert("HOME", Path("home"));
    environment_.insert("XDG_DATA_HOME", Path("data"));
    environment_.insert("XDG_CONFIG_HOME", Path("config"));
    environment_.insert("XDG_DATA_DIRS", Path("system"));
    environment_.insert("XDG_RUNTIME_DIR", Path("runtime"));
    // No session bus: the host asks no secret store for the SIP password.
    environment_.remove("DBUS_SESSION_BUS_ADDRESS");
    // The program folder is the XDG one, $XDG_DATA_HOME/vesktools.
    environment_.remove("VESK_HOME");
    environment_.insert("VESK_NONINTERACTIVE", "1");
    environment_.insert("QT_QPA_PLATFORM", "offscreen");
    // The desktop entry names the program as installed, found on the PATH.
    environment_.insert("PATH", Path("bin") + ":" + environment_.value("PATH"));
    ASSERT_TRUE(QFile::link(VESK_HOST_PROGRAM, Path("bin/vesktools")));
    ASSERT_TRUE(QFile::copy(VESK_DESKTOP_ENTRY, Path("data/applications/vesktools.desktop")));
    // This process looks for the host's windows in the same runtime folder.
    setenv("XDG_RUNTIME_DIR", Path("runtime").toLocal8Bit().constData(), 1);
  }

  void TearDown() override {
    if (host_.state() != QProcess::NotRunning) {
      kill(static_cast<pid_t>(host_.processId()), SIGTERM);
      if (!host_.waitForFinished(kWait)) host_.kill();
    }
  }

  QString Path(const QString& name) const { return world_.filePath(name); }

  Outcome Run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kWait)) process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
  }

  // Calls go to the peer without registering first.
  void WriteAccount(const SippPeer& peer) {
    SipAccount account;
    account.identity = "sip:vesk@127.0.0.1";
    account.registrar = "sip:127.0.0.1:" + std::to_string(peer.Port());
    account.registerFirst = false;
    ASSERT_TRUE(QDir().mkpath(Path("data/vesktools")));
    ASSERT_TRUE(WriteSipAccount(Path("data/vesktools/vesktools.ini").toStdString(), account));
  }

  void StartHost(const QStringList& arguments) {
    host_.setProcessEnvironment(environment_);
    host_.setProcessChannelMode(QProcess::ForwardedChannels);
    host_.start(Path("bin/vesktools"), arguments);
    ASSERT_TRUE(host_.waitForStarted(kWait));
    ASSERT_TRUE(QTest::qWaitFor([] { return HostWindow().has_value(); }, kWait));
  }

  uint32_t HostProcess() const { return static_cast<uint32_t>(host_.processId()); }

  // SIPp's verdict, with the event loop running while it decides; -1 when
  // it does not end in time.
  static int Verdict(SippPeer& peer) {
    return QTest::qWaitFor([&] { return peer.Ended(); }, kWait) ? peer.ExitCode() : -1;
  }

  QTemporaryDir world_;
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
  QProcess host_;
};

TEST_F(DialLinkTest, XdgOpenHandsATelLinkToTheRunningHostWhichDialsIt) {
  SippPeer peer(kScenario);
  ASSERT_TRUE(peer.Listening());
  WriteAccount(peer);
  // Registered as the desktop's handler of the three schemes.
  for (const char* scheme : {"tel", "sip", "callto"}) {
    const QString type = QStringLiteral("x-scheme-handler/") + scheme;
    const Outcome set = Run("xdg-mime", {"default", "vesktools.desktop", type}, environment_);
    ASSERT_EQ(set.code, 0) << set.output.toStdString();
    const Outcome query = Run("xdg-mime", {"query", "default", type}, environment_);
    EXPECT_EQ(query.output.trimmed().toStdString(), "vesktools.desktop") << scheme;
  }
  StartHost({});
  EXPECT_FALSE(AddressWindow());

  // A GNOME desktop, where xdg-open leaves the link to GIO's default handler.
  QProcessEnvironment desktop = environment_;
  desktop.insert("XDG_CURRENT_DESKTOP", "GNOME");
  const Outcome opened = Run("xdg-open", {kLink}, desktop);
  EXPECT_EQ(opened.code, 0) << opened.output.toStdString();
  EXPECT_EQ(Verdict(peer), 0) << "no call to +49 711 123456";
  // The running host dialled: its address window, no second host.
  ASSERT_TRUE(AddressWindow());
  EXPECT_EQ(AddressWindow()->process, HostProcess());
  EXPECT_EQ(HostWindow()->process, HostProcess());
}

TEST_F(DialLinkTest, AMalformedLinkGivesOneBoxAndDialsNothing) {
  SippPeer peer(kScenario);
  ASSERT_TRUE(peer.Listening());
  WriteAccount(peer);
  StartHost({});
  for (const QString& link :
       {QStringLiteral("tel:0800-FLOWERS"), QStringLiteral("tel:"), QStringLiteral("mailto:max@fritz.box"),
        QStringLiteral("tel:0711%0A123456"), QStringLiteral("tel:+49711") + QString(300, '1')}) {
    const Outcome refused = Run(Path("bin/vesktools"), {"--dial", link}, environment_);
    EXPECT_EQ(refused.code, 1) << link.toStdString();
    EXPECT_EQ(refused.output.count("Fehler in der Eingabe"), 1) << refused.output.toStdString();
  }
  QTest::qWait(500);
  EXPECT_FALSE(AddressWindow()) << "a malformed link opened the address window";
  EXPECT_FALSE(peer.Ended());
  // The first call the peer sees is this one's.
  const Outcome dialled = Run(Path("bin/vesktools"), {"--dial", kLink}, environment_);
  EXPECT_EQ(dialled.code, 0) << dialled.output.toStdString();
  EXPECT_EQ(Verdict(peer), 0);
  EXPECT_EQ(HostWindow()->process, HostProcess());
}

TEST_F(DialLinkTest, WithoutARunningHostDialStartsOneThatDials) {
  SippPeer peer(kScenario);
  ASSERT_TRUE(peer.Listening());
  WriteAccount(peer);
  StartHost({"--dial", "callto://+49711123456"});
  EXPECT_EQ(HostWindow()->process, HostProcess());
  EXPECT_EQ(Verdict(peer), 0);
  ASSERT_TRUE(AddressWindow());
  EXPECT_EQ(AddressWindow()->process, HostProcess());
  // Started from the menu, the entry's "--dial %u" comes without a link: a
  // plain start, which hands over to the running host.
  const Outcome plain = Run(Path("bin/vesktools"), {"--dial"}, environment_);
  EXPECT_EQ(plain.code, 0) << plain.output.toStdString();
  EXPECT_FALSE(plain.output.contains("Fehler")) << plain.output.toStdString();
}

}  // namespace
}  // namespace vesk
