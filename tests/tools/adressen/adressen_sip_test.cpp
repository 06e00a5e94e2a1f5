// Dialling from the address window over the SIP line, with SIPp as the far
// end on loopback: the status texts the user sees, in their order.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "platform/telephony/line_backend.h"
#include "platform/telephony/sip_account.h"
#include "platform/telephony/sip_line.h"
#include "tests/support/sipp_peer.h"
#include "tests/support/test_sound_cards.h"
#include "tests/tools/adressen/adressen_fixture.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/status_bar.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

std::string Scenario(const char* name) { return std::string(VESK_SOURCE_DIR) + "/tests/platform/sipp/" + name; }

class AdressenSip : public AdressenTest {
 protected:
  void SetUp() override {
    AdressenTest::SetUp();
    InstallLineBackend(std::make_unique<SipLine>(File("vesktools.ini")));
  }
  void TearDown() override {
    if (!window_.isNull()) delete window_.data();
    InstallLineBackend(nullptr);
    AdressenTest::TearDown();
  }

  // The window with a line to the peer, calls sent to it without
  // registering, and an address whose first number is number.
  void OpenWindowAt(SippPeer& peer, const std::string& number, const std::string& second = "") {
    ASSERT_TRUE(peer.Listening());
    SipAccount account;
    account.identity = "sip:vesk@127.0.0.1";
    account.registrar = "sip:127.0.0.1:" + std::to_string(peer.Port());
    account.registerFirst = false;
    account.microphone = microphone_;
    ASSERT_TRUE(WriteSipAccount(File("vesktools.ini"), account));
    OpenWindow();
    ASSERT_EQ(window_->SBAdressen->SimpleText(), "");
    window_->SBAdressen->OnSimpleTextChange = [this](const std::string& text) { texts_.push_back(text); };
    TRadiRidir& table = *window_->MTbAdressen;
    table.Append();
    table.FieldByName("Name")->SetAsString("Gegenstelle");
    table.FieldByName("Telefon1")->SetAsString(number);
    table.FieldByName("Telefon2")->SetAsString(second);
    table.Post();
    QTest::mouseDClick(window_->EdTelefon, Qt::LeftButton);
  }
  bool WaitFor(const std::string& text) {
    return QTest::qWaitFor([&] { return std::find(texts_.begin(), texts_.end(), text) != texts_.end(); }, 15000);
  }

  std::vector<std::string> texts_;
  std::string microphone_;  // the account's
};

TEST_F(AdressenSip, AnsweredCallThatTheFarEndEnds) {
  SippPeer peer(Scenario("answer_then_hang_up.xml"));
  OpenWindowAt(peer, "(07 11) 12 34-56");
  ASSERT_TRUE(WaitFor("Verbindung unterbrechen")) << testing::PrintToString(texts_);
  EXPECT_EQ(texts_, (std::vector<std::string>{"OK", "Wähle", "Proceeding", "Verbunden: Gegenstelle 1.0",
                                              "Unterbrochen: Normal", "Verbindung unterbrechen"}));
  EXPECT_EQ(peer.ExitCode(), 0);
}

// A microphone chosen once and unplugged since: the call goes through the
// default, and the status bar's tooltip tells why.
TEST_F(AdressenSip, AMissingMicrophoneGivesWayToTheDefaultAndTheTooltipSaysSo) {
  SetTestSoundCards({{"Headset"}});
  microphone_ = "Test Unknown: USB-Mikrofon";
  SippPeer peer(Scenario("answer_then_hang_up.xml"));
  OpenWindowAt(peer, "0711 123456");
  const QString notice = "Mikrofon nicht vorhanden: Test Unknown: USB-Mikrofon – es gilt das Standardgerät";
  EXPECT_EQ(window_->SBAdressen->toolTip(), notice);
  ASSERT_TRUE(WaitFor("Verbindung unterbrechen")) << testing::PrintToString(texts_);
  EXPECT_EQ(texts_, (std::vector<std::string>{"OK", "Wähle", "Proceeding", "Verbunden: Gegenstelle 1.0",
                                              "Unterbrochen: Normal", "Verbindung unterbrechen"}));
  EXPECT_EQ(window_->SBAdressen->toolTip(), notice);
  EXPECT_EQ(peer.ExitCode(), 0);
}

TEST_F(AdressenSip, BusyFarEnd) {
  SippPeer peer(Scenario("busy.xml"));
  OpenWindowAt(peer, "0711 123456");
  ASSERT_TRUE(WaitFor("Verbindung unterbrechen")) << testing::PrintToString(texts_);
  EXPECT_EQ(texts_, (std::vector<std::string>{"OK", "Wähle", "Proceeding", "Besetzt", "Unterbrochen: Besetzt",
                                              "Verbindung unterbrechen"}));
  EXPECT_EQ(peer.ExitCode(), 0);
}

TEST_F(AdressenSip, UnansweredCallThatCtrlAEnds) {
  SippPeer peer(Scenario("no_answer.xml"));
  OpenWindowAt(peer, "0711/123456");
  ASSERT_TRUE(WaitFor("Proceeding")) << testing::PrintToString(texts_);
  QTest::qWait(300);
  window_->EdName->setFocus();
  QTest::keyClick(window_->EdName, Qt::Key_A, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor("Verbindung unterbrechen")) << testing::PrintToString(texts_);
  EXPECT_EQ(texts_.back(), "Verbindung unterbrechen");
  EXPECT_NE(std::find(texts_.begin(), texts_.end(), "Unterbrochen: Normal"), texts_.end());
  EXPECT_EQ(std::find(texts_.begin(), texts_.end(), "Fehler"), texts_.end());
  EXPECT_EQ(peer.ExitCode(), 0);
}

// A second dial while the first call is up hangs that one up and reaches
// the far end again; the first call's end must not cut the second.
TEST_F(AdressenSip, RedialDuringACallReachesTheNewCall) {
  SippPeer peer(Scenario("answer_until_bye.xml"), 2);
  OpenWindowAt(peer, "0711 123456", "0711 654321");
  ASSERT_TRUE(WaitFor("Verbunden: ")) << testing::PrintToString(texts_);
  texts_.clear();
  QTest::mouseDClick(window_->EdTelefon2, Qt::LeftButton);
  ASSERT_TRUE(WaitFor("Verbunden: ")) << testing::PrintToString(texts_);
  QTest::qWait(500);  // what the first call still reports has come by now
  EXPECT_EQ(texts_.back(), "Verbunden: ") << testing::PrintToString(texts_);
  EXPECT_EQ(std::find(texts_.begin(), texts_.end(), "Unterbrochen: Normal"), texts_.end())
      << testing::PrintToString(texts_);
  window_->EdName->setFocus();
  QTest::keyClick(window_->EdName, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(peer.ExitCode(), 0) << "both calls went as the far end expects";
}

TEST_F(AdressenSip, ClosingTheWindowEndsTheRingingCall) {
  SippPeer peer(Scenario("no_answer.xml"));
  OpenWindowAt(peer, "0711 123456");
  ASSERT_TRUE(WaitFor("Proceeding")) << testing::PrintToString(texts_);
  window_->SBAdressen->OnSimpleTextChange = nullptr;
  CloseWindow();
  EXPECT_TRUE(window_.isNull());
  // The far end hears the call cancelled, also after the window and its
  // line are gone.
  EXPECT_TRUE(QTest::qWaitFor([&] { return peer.Ended(); }, 20000));
  EXPECT_EQ(peer.ExitCode(), 0);
}

}  // namespace
}  // namespace vesk
