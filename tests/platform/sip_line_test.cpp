// The SIP line against SIPp as the far end on loopback.
#include "platform/telephony/sip_line.h"

#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/telephony/sip_account.h"
#include "platform/telephony/sip_core.h"
#include "tests/platform/line_recorder.h"
#include "tests/support/open_line.h"
#include "tests/support/scoped_env.h"
#include "tests/support/sipp_peer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_sound_cards.h"

namespace vesk {
namespace {

// The program folder, where the SIP library keeps its data, lives as long
// as the process's one library core.
class ProgramFolderEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    home_ = std::make_unique<ScopedEnv>("VESK_HOME", folder_->Path());
  }
  void TearDown() override {
    home_.reset();
    folder_.reset();
  }

 private:
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> home_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new ProgramFolderEnvironment);

std::string Scenario(const char* name) { return std::string(VESK_SOURCE_DIR) + "/tests/platform/sipp/" + name; }

class SipLineTest : public testing::Test {
 protected:
  void SetUp() override {
    ini_ = folder_.File("vesktools.ini");
    auto line = std::make_unique<SipLine>(ini_);
    sipLine_ = line.get();
    InstallLineBackend(std::move(line));
    LineRecorder::Clear();
  }
  void TearDown() override { InstallLineBackend(nullptr); }

  // An account at the peer; user 620 with a password when it registers.
  void WriteAccount(SippPeer& peer, bool registerFirst) {
    EXPECT_TRUE(peer.Listening());
    SipAccount account;
    account.identity = "sip:vesk@127.0.0.1";
    account.registrar = "sip:127.0.0.1:" + std::to_string(peer.Port());
    account.registerFirst = registerFirst;
    if (registerFirst) {
      account.user = "620";
      account.password = "geheim";
    }
    EXPECT_TRUE(WriteSipAccount(ini_, account));
  }
  // Dials number on a line to the peer's address, without registering.
  HCall Dial(SippPeer& peer, const char* number) {
    WriteAccount(peer, false);
    const HLine line = OpenVoiceLine(app_, LineRecorder::Callback);
    HCall call = 0;
    EXPECT_GT(lineMakeCall(line, &call, number, 0, &params_), 0);
    EXPECT_TRUE(LineRecorder::received.empty()) << "delivered from inside lineMakeCall";
    return call;
  }
  static bool Received(intptr_t state) {
    return QTest::qWaitFor(
        [&] {
          for (intptr_t s : LineRecorder::States()) {
            if (s == state) return true;
          }
          return false;
        },
        15000);
  }
  static bool Connected(HLine line) {
    LineDevStatus status;
    return lineGetLineDevStatus(line, &status) == 0 && (status.dwDevStatusFlags & LINEDEVSTATUSFLAGS_CONNECTED) != 0;
  }
  // Whether the registrar's answer arrived as a line state, within the
  // five seconds the line gives it and a little more.
  static bool LineStateReceived() {
    return QTest::qWaitFor(
        [] {
          return std::any_of(LineRecorder::received.begin(), LineRecorder::received.end(),
                             [](const Notification& n) { return n.message == LINE_LINEDEVSTATE; });
        },
        8000);
  }
  static std::vector<intptr_t> Disconnects() {
    std::vector<intptr_t> modes;
    for (const Notification& n : LineRecorder::received) {
      if (n.message == LINE_CALLSTATE && n.param1 == LINECALLSTATE_DISCONNECTED) {
        modes.push_back(n.param2);
      }
    }
    return modes;
  }

  TempFolder folder_;
  std::string ini_;
  SipLine* sipLine_ = nullptr;
  HLineApp app_ = 0;
  LineCallParams params_;
};

TEST_F(SipLineTest, AnsweredCallThatTheFarEndEnds) {
  SippPeer peer(Scenario("answer_then_hang_up.xml"));
  const HCall call = Dial(peer, "(07 11) 12 34-56");
  ASSERT_TRUE(Received(LINECALLSTATE_IDLE)) << testing::PrintToString(LineRecorder::States());

  ASSERT_FALSE(LineRecorder::received.empty());
  EXPECT_EQ(LineRecorder::received[0].message, LINE_REPLY);
  EXPECT_GE(LineRecorder::received[0].param2, 0);
  EXPECT_EQ(LineRecorder::States(),
            (std::vector<intptr_t>{LINECALLSTATE_DIALING, LINECALLSTATE_PROCEEDING, LINECALLSTATE_RINGBACK,
                                   LINECALLSTATE_CONNECTED, LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}));
  EXPECT_EQ(Disconnects(), std::vector<intptr_t>{LINEDISCONNECTMODE_NORMAL});
  EXPECT_EQ(LineRecorder::appName, "Gegenstelle 1.0");
  EXPECT_GT(LineRecorder::dropResult, 0) << "dropping an ended call counts as accepted";
  EXPECT_EQ(lineDrop(call, nullptr, 0), LINEERR_INVALCALLHANDLE) << "released at idle";
  EXPECT_EQ(peer.ExitCode(), 0);
}

TEST_F(SipLineTest, BusyFarEnd) {
  SippPeer peer(Scenario("busy.xml"));
  Dial(peer, "0711 123456");
  ASSERT_TRUE(Received(LINECALLSTATE_IDLE));
  EXPECT_EQ(LineRecorder::States(),
            (std::vector<intptr_t>{LINECALLSTATE_DIALING, LINECALLSTATE_PROCEEDING, LINECALLSTATE_BUSY,
                                   LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}));
  EXPECT_EQ(Disconnects(), std::vector<intptr_t>{LINEDISCONNECTMODE_BUSY});
  EXPECT_EQ(peer.ExitCode(), 0);
}

TEST_F(SipLineTest, UnansweredCallThatWeDrop) {
  SippPeer peer(Scenario("no_answer.xml"));
  const HCall call = Dial(peer, "0711/123456");
  ASSERT_TRUE(Received(LINECALLSTATE_RINGBACK));
  const size_t before = LineRecorder::received.size();
  EXPECT_GT(lineDrop(call, nullptr, 0), 0);
  EXPECT_EQ(LineRecorder::received.size(), before) << "delivered from inside lineDrop";
  // SIPp ends once the call's end is acknowledged, which the line does only
  // when it goes on during the wait.
  LineWait(400);
  EXPECT_EQ(LineRecorder::received.size(), before) << "delivered during the wait";
  EXPECT_EQ(peer.ExitCode(), 0);
  ASSERT_TRUE(Received(LINECALLSTATE_IDLE));
  EXPECT_EQ(Disconnects(), std::vector<intptr_t>{LINEDISCONNECTMODE_NORMAL});
}

// The line opens at once and learns the registrar's answer later, as a
// line state; nothing waits for it.
TEST_F(SipLineTest, ARegistrarThatAsksForThePasswordGetsIt) {
  SippPeer peer(Scenario("registrar_challenge.xml"));
  WriteAccount(peer, true);
  const HLine line = OpenVoiceLine(app_, LineRecorder::Callback);
  ASSERT_NE(line, 0u) << lineProblem();
  EXPECT_FALSE(Connected(line)) << "the registrar cannot have answered yet";
  ASSERT_TRUE(LineStateReceived());
  EXPECT_EQ(LineRecorder::received.back(), (Notification{line, LINE_LINEDEVSTATE, LINEDEVSTATE_CONNECTED, 0}));
  EXPECT_TRUE(Connected(line));
  EXPECT_EQ(lineProblem(), "");
  EXPECT_EQ(peer.ExitCode(), 0);
}

TEST_F(SipLineTest, ARefusingOrMissingRegistrarLeavesTheLineUnusableAndSaysWhy) {
  {
    SippPeer peer(Scenario("registrar_refuses.xml"));
    WriteAccount(peer, true);
    const HLine line = OpenVoiceLine(app_, LineRecorder::Callback);
    ASSERT_NE(line, 0u);
    ASSERT_TRUE(LineStateReceived());
    EXPECT_EQ(LineRecorder::received.back().param1, LINEDEVSTATE_DISCONNECTED);
    EXPECT_EQ(lineProblem(), "Der Registrar lehnt die Anmeldung ab: 403 Forbidden");
    HCall call = 0;
    EXPECT_EQ(lineMakeCall(line, &call, "0711 123456", 0, &params_), LINEERR_RESOURCEUNAVAIL);
    EXPECT_EQ(peer.ExitCode(), 0);
    lineShutdown(app_);
  }
  // Nobody listens on the port any more.
  LineRecorder::Clear();
  const HLine line = OpenVoiceLine(app_, LineRecorder::Callback);
  ASSERT_NE(line, 0u);
  EXPECT_TRUE(LineRecorder::received.empty());
  ASSERT_TRUE(LineStateReceived());
  EXPECT_EQ(LineRecorder::received.back().param1, LINEDEVSTATE_DISCONNECTED);
  EXPECT_EQ(lineProblem().rfind("Der Registrar ", 0), 0u) << lineProblem();
  EXPECT_EQ(lineProblem().find("geheim"), std::string::npos);
}

// After a call the process holds no library of another Qt (a media plugin
// of the system would bring Qt 5 in, whose exit crashes a Qt 6 program),
// and the SIP library's files lie in the program folder, none beside it.
TEST_F(SipLineTest, TheLibraryKeepsToTheProgramFolderAndLoadsNoPlugins) {
  SippPeer peer(Scenario("answer_then_hang_up.xml"));
  Dial(peer, "0711 123456");
  ASSERT_TRUE(Received(LINECALLSTATE_IDLE));
  EXPECT_EQ(peer.ExitCode(), 0);
  std::ifstream maps("/proc/self/maps");
  std::string mapping;
  while (std::getline(maps, mapping)) EXPECT_EQ(mapping.find("libQt5"), std::string::npos) << mapping;

  const std::filesystem::path folder = ProgramFolder();
  std::vector<std::string> inside;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) inside.push_back(entry.path().filename());
  EXPECT_NE(std::find(inside.begin(), inside.end(), "call-history.db"), inside.end()) << testing::PrintToString(inside);
  const std::string name = folder.filename();
  for (const auto& entry : std::filesystem::directory_iterator(folder.parent_path())) {
    const std::string beside = entry.path().filename();
    EXPECT_TRUE(beside == name || beside.rfind(name, 0) != 0) << beside << " lies beside the program folder";
  }
}

TEST_F(SipLineTest, TheLibraryRestsWhileNoLineIsOpen) {
  SipAccount account;
  account.identity = "sip:vesk@127.0.0.1";
  account.registrar = "sip:127.0.0.1:9";
  account.registerFirst = false;
  ASSERT_TRUE(WriteSipAccount(ini_, account));
  ASSERT_NE(OpenVoiceLine(app_, LineRecorder::Callback), 0u);
  EXPECT_TRUE(sipLine_->Driven());
  HLineApp second = 0;
  ASSERT_NE(OpenVoiceLine(second, LineRecorder::Callback), 0u);
  lineShutdown(app_);
  QTest::qWait(100);
  EXPECT_TRUE(sipLine_->Driven()) << "another line is still open";
  lineShutdown(second);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !sipLine_->Driven(); }, 2000));
  ASSERT_NE(OpenVoiceLine(app_, LineRecorder::Callback), 0u);
  EXPECT_TRUE(sipLine_->Driven()) << "a new line wakes it";
}

// The account's sound devices are the core's from the line's opening on;
// one not there gives way to the default, which the line tells of though
// it works. A choice taken back counts at the next opening.
TEST_F(SipLineTest, TheChosenSoundDevicesSpeakAndAMissingOneIsToldOf) {
  SetTestSoundCards({{"Headset"}, {"Mikro", MS_SND_CARD_CAP_CAPTURE}, {"Boxen", MS_SND_CARD_CAP_PLAYBACK}});
  SipAccount account;
  account.identity = "sip:vesk@127.0.0.1";
  account.registrar = "sip:127.0.0.1:9";
  account.registerFirst = false;
  account.microphone = "Test Unknown: Mikro";
  account.speaker = "Test Unknown: Kopfhörer";
  ASSERT_TRUE(WriteSipAccount(ini_, account));
  const HLine line = OpenVoiceLine(app_, LineRecorder::Callback);
  ASSERT_NE(line, 0u) << lineProblem();
  EXPECT_TRUE(Connected(line));
  EXPECT_EQ(lineProblem(), "");
  EXPECT_EQ(lineNotice(), "Lautsprecher nicht vorhanden: Test Unknown: Kopfhörer – es gilt das Standardgerät");
  auto core = SipCore();
  EXPECT_EQ(core->getDefaultInputAudioDevice()->getId(), "Test Unknown: Mikro");
  EXPECT_EQ(core->getDefaultOutputAudioDevice()->getId(), "Test Unknown: Headset");
  lineShutdown(app_);

  account.microphone = "";
  account.speaker = "Test Unknown: Boxen";
  ASSERT_TRUE(WriteSipAccount(ini_, account));
  ASSERT_NE(OpenVoiceLine(app_, LineRecorder::Callback), 0u);
  EXPECT_EQ(lineNotice(), "");
  EXPECT_EQ(core->getDefaultInputAudioDevice()->getId(), "Test Unknown: Headset");
  EXPECT_EQ(core->getDefaultOutputAudioDevice()->getId(), "Test Unknown: Boxen");
}

TEST_F(SipLineTest, WithoutAnAccountThereIsNoLine) {
  uint32_t devices = 7;
  ASSERT_EQ(lineInitialize(&app_, nullptr, LineRecorder::Callback, nullptr, &devices), 0);
  EXPECT_EQ(devices, 0u);
  EXPECT_NE(lineProblem().find("Kein SIP-Konto"), std::string::npos);
  ASSERT_TRUE(ProfileWriteString(ini_, "Telefon", "Identitaet", "sip:max@fritz.box"));
  ASSERT_TRUE(ProfileWriteString(ini_, "Telefon", "Registrar", "sip:fritz.box"));
  ASSERT_EQ(lineInitialize(&app_, nullptr, LineRecorder::Callback, nullptr, &devices), 0);
  EXPECT_EQ(devices, 1u);
  EXPECT_EQ(lineProblem(), "");
}

}  // namespace
}  // namespace vesk
