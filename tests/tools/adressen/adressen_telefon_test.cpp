// Dialling from the address window over a simulated line: the set-up, the
// double click, Ctrl+A, the close, and the status text of every
// notification.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "platform/ini_file.h"
#include "platform/telephony/line_backend.h"
#include "platform/telephony/simulated_line.h"
#include "tests/tools/adressen/adressen_fixture.h"
#include "tests/tools/adressen/tariff_test_data.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/status_bar.h"
#include "tools/controls/HistCB.h"
#include "tools/host_files.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

class AdressenTelefon : public AdressenTest {
 protected:
  void SetUp() override {
    AdressenTest::SetUp();
    auto line = std::make_unique<SimulatedLine>();
    line_ = line.get();
    InstallLineBackend(std::move(line));
  }
  void TearDown() override {
    if (!window_.isNull()) delete window_.data();
    SetClockForTesting(nullptr);
    InstallLineBackend(nullptr);
    AdressenTest::TearDown();
  }

  std::string Status() const { return window_->SBAdressen->SimpleText(); }
  // An address with both numbers (and zones), shown in the window.
  void AddNumbers(const std::string& first, const std::string& second, const std::string& zone1 = "",
                  const std::string& zone2 = "") {
    TRadiRidir& table = *window_->MTbAdressen;
    table.Append();
    table.FieldByName("Name")->SetAsString("Özdemir");
    table.FieldByName("Telefon1")->SetAsString(first);
    table.FieldByName("Telefon2")->SetAsString(second);
    table.FieldByName("Tarifzone1")->SetAsString(zone1);
    table.FieldByName("Tarifzone2")->SetAsString(zone2);
    table.Post();
  }
  void DoubleClick(TDBEdit* field) {
    QTest::mouseDClick(field, Qt::LeftButton);
    ProcessEvents();
  }
  void PressCtrlA() {
    window_->EdName->setFocus();
    QTest::keyClick(window_->EdName, Qt::Key_A, Qt::ControlModifier);
  }
  // The journal without the opening of the line.
  std::vector<std::string> Requests() const {
    std::vector<std::string> requests = line_->journal();
    std::erase(requests, "open");
    return requests;
  }
  // The handle the last placed call got, from the journal.
  HCall LastCall() const {
    for (auto entry = line_->journal().rbegin(); entry != line_->journal().rend(); ++entry) {
      if (entry->rfind("place ", 0) == 0) return static_cast<HCall>(std::stoul(entry->substr(6)));
    }
    return 0;
  }
  // The status text after the line reports state.
  std::string After(uint32_t state, uint32_t mode = 0) {
    line_->Report(LastCall(), state, mode);
    ProcessEvents();
    return Status();
  }

  SimulatedLine* line_ = nullptr;
};

TEST_F(AdressenTelefon, WithoutLineDevicesTheWindowSaysWhy) {
  line_->behaviour().devices = 0;
  line_->behaviour().problem = "Kein SIP-Konto eingerichtet (Einstellungen: Telefon…)";
  OpenWindow();
  EXPECT_EQ(Status(), "Fehler");
  EXPECT_EQ(window_->SBAdressen->toolTip().toStdString(), line_->behaviour().problem);
  AddNumbers("0711 123456", "");
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Status(), "Fehler in der Eingabe");
  EXPECT_TRUE(Requests().empty());
}

TEST_F(AdressenTelefon, LineThatCannotOpenGivesFehler) {
  line_->behaviour().openAccepted = false;
  OpenWindow();
  EXPECT_EQ(Status(), "Fehler");
}

TEST_F(AdressenTelefon, NumberReachesTheLineDialableAndEveryStateShows) {
  OpenWindow();
  EXPECT_EQ(Status(), "") << "a line that opens leaves the status empty";
  AddNumbers("(07 11) 12 34-56", "");
  DoubleClick(window_->EdTelefon);
  const HCall call = LastCall();
  EXPECT_EQ(Requests(), std::vector<std::string>{"place " + std::to_string(call) + " 0711123456"});
  EXPECT_EQ(Status(), "OK") << "the reply of the accepted request";

  EXPECT_EQ(After(LINECALLSTATE_DIALING), "Wähle");
  EXPECT_EQ(After(LINECALLSTATE_PROCEEDING), "Proceeding");
  EXPECT_EQ(After(LINECALLSTATE_RINGBACK), "Proceeding") << "other states leave the text";
  line_->behaviour().remoteName = "FRITZ!Box 7590";
  EXPECT_EQ(After(LINECALLSTATE_CONNECTED), "Verbunden: FRITZ!Box 7590");
  line_->behaviour().remoteName.clear();
  EXPECT_EQ(After(LINECALLSTATE_CONNECTED), "Verbunden: ");
  EXPECT_EQ(After(LINECALLSTATE_BUSY), "Besetzt");
  EXPECT_EQ(After(LINECALLSTATE_DISCONNECTED, 0x4), "Unterbrochen: ");
  EXPECT_EQ(After(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BUSY), "Unterbrochen: Besetzt");
  // The far end hangs up: the program drops the call itself.
  EXPECT_EQ(After(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL), "Unterbrochen: Normal");
  EXPECT_EQ(Requests().back(), "drop " + std::to_string(call));
  line_->behaviour().dropAccepted = false;
  EXPECT_EQ(After(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL), "Fehler");
  EXPECT_EQ(After(LINECALLSTATE_IDLE), "Verbindung unterbrechen");
  EXPECT_EQ(Requests().back(), "release " + std::to_string(call));
  EXPECT_EQ(After(LINECALLSTATE_DIALING), "Verbindung unterbrechen") << "a released call reports nothing";
}

TEST_F(AdressenTelefon, RefusedRequestRepliesKeineAntwort) {
  OpenWindow();
  AddNumbers("0711 123456", "");
  line_->behaviour().placeAccepted = false;
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Status(), "Keine Antwort");
}

TEST_F(AdressenTelefon, DialWhileACallIsUpDropsWaitsReleasesThenDials) {
  OpenWindow();
  AddNumbers("0711 1", "089 2");
  DoubleClick(window_->EdTelefon);
  const HCall first = LastCall();
  // A state that falls due during the wait is handled after it.
  line_->Report(first, LINECALLSTATE_CONNECTED);
  DoubleClick(window_->EdTelefon2);
  const HCall second = LastCall();
  EXPECT_NE(first, second);
  EXPECT_EQ(Requests(), (std::vector<std::string>{"place " + std::to_string(first) + " 07111",
                                                  "drop " + std::to_string(first), "release " + std::to_string(first),
                                                  "place " + std::to_string(second) + " 0892"}));

  // An empty field places nothing and leaves the running call alone.
  TRadiRidir& table = *window_->MTbAdressen;
  table.Edit();
  table.FieldByName("Telefon1")->Clear();
  table.Post();
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Requests().size(), 4u);

  // Ctrl+A hangs up the call of the second number, whichever field has
  // the focus.
  PressCtrlA();
  EXPECT_EQ(Requests().back(), "drop " + std::to_string(second));
  QTest::keyClick(window_->EdName, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Requests().size(), 5u) << "only with Ctrl alone";
}

// The old call reports its end while the redial waits for it: the new call
// must not take those states for its own and be dropped.
TEST_F(AdressenTelefon, RedialSurvivesTheOldCallsEndDuringTheWait) {
  OpenWindow();
  AddNumbers("0711 1", "089 2");
  DoubleClick(window_->EdTelefon);
  const HCall first = LastCall();
  line_->Report(first, LINECALLSTATE_CONNECTED);
  ProcessEvents();
  QTimer::singleShot(100, [&] {
    line_->Report(first, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
    line_->Report(first, LINECALLSTATE_IDLE);
  });
  DoubleClick(window_->EdTelefon2);
  const HCall second = LastCall();
  ASSERT_NE(first, second);
  EXPECT_EQ(Status(), "OK");
  EXPECT_EQ(Requests().back(), "place " + std::to_string(second) + " 0892") << "the new call was dropped";
  // A state of a call the window no longer tracks changes nothing.
  line_->Report(second, LINECALLSTATE_CONNECTED);
  ProcessEvents();
  EXPECT_EQ(Status(), "Verbunden: ");
}

TEST_F(AdressenTelefon, TextInANumberIsRefusedAndLeavesTheCallAlone) {
  OpenWindow();
  AddNumbers("0711 123456", "0711 123456 ab 18 Uhr");
  DoubleClick(window_->EdTelefon);
  const size_t placed = Requests().size();
  DoubleClick(window_->EdTelefon2);
  EXPECT_EQ(Status(), "Fehler in der Eingabe");
  EXPECT_EQ(Requests().size(), placed) << "neither dropped nor dialled";
}

// The line opens before the registrar answered: the window says so, and a
// dial asked for meanwhile goes once the answer is there.
TEST_F(AdressenTelefon, ADialWhileSigningOnWaitsForTheRegistrar) {
  line_->behaviour().connected = false;
  OpenWindow();
  EXPECT_EQ(Status(), "Anmelden …");
  AddNumbers("0711 1", "");
  DoubleClick(window_->EdTelefon);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(Status(), "Anmelden …");
  line_->ReportLine(true);
  ProcessEvents();
  EXPECT_EQ(Requests(), std::vector<std::string>{"place " + std::to_string(LastCall()) + " 07111"});
  EXPECT_EQ(Status(), "OK");

  // Losing the registrar later shows why; a dial is then refused.
  line_->behaviour().problem = "Der Registrar antwortet nicht: sip:fritz.box";
  line_->ReportLine(false);
  ProcessEvents();
  EXPECT_EQ(Status(), "Fehler");
  EXPECT_EQ(window_->SBAdressen->toolTip().toStdString(), line_->behaviour().problem);
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Status(), "Fehler in der Eingabe");
  line_->ReportLine(true);
  ProcessEvents();
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(window_->SBAdressen->toolTip().isEmpty());
}

TEST_F(AdressenTelefon, ARegistrarThatRefusesFailsTheWaitingDial) {
  line_->behaviour().connected = false;
  OpenWindow();
  AddNumbers("0711 1", "");
  DoubleClick(window_->EdTelefon);
  line_->behaviour().problem = "Der Registrar lehnt die Anmeldung ab: 403 Forbidden";
  line_->ReportLine(false);
  ProcessEvents();
  EXPECT_EQ(Status(), "Fehler in der Eingabe");
  EXPECT_EQ(window_->SBAdressen->toolTip().toStdString(), line_->behaviour().problem);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(AdressenTelefon, CtrlABeforeAnyCallIsFehler) {
  OpenWindow();
  PressCtrlA();
  EXPECT_EQ(Status(), "Fehler");
}

TEST_F(AdressenTelefon, ClosingDropsTheCallAndLateNotificationsTouchNothing) {
  OpenWindow();
  AddNumbers("0711 123456", "");
  DoubleClick(window_->EdTelefon);
  const HCall call = LastCall();
  // Reported, not yet delivered, when the window goes.
  line_->Report(call, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL);
  CloseWindow();
  EXPECT_TRUE(window_.isNull());
  EXPECT_EQ(Requests()[1], "drop " + std::to_string(call));
  line_->Report(call, LINECALLSTATE_IDLE);
  ProcessEvents();
  EXPECT_TRUE(errors_.empty());
}

class AdressenTarife : public AdressenTelefon {
 protected:
  void SetUp() override {
    AdressenTelefon::SetUp();
    MakeTariffTables(File("data"));
    WriteProgramFile("ttarife.ini", "[Tarifzone]\r\n0=Fern\r\n1=Mobil\r\n2=O'Zone\r\n");
    // A Wednesday at noon.
    SetClockForTesting([] { return EncodeDate(2026, 12, 9) + EncodeTime(12, 0, 0, 0); });
  }
};

TEST_F(AdressenTarife, PrefixOfEachNumbersZoneGoesInFront) {
  OpenWindow();
  AddNumbers("(07 11) 12 34-56", "0171 5", "Fern", "O'Zone");
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 010220711123456");
  DoubleClick(window_->EdTelefon2);
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 0101101715")
      << "the second number takes the second zone";
  AddNumbers("030 1", "");
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 0301") << "no zone, no prefix";
  EXPECT_TRUE(errors_.empty());
}

// A call-by-call prefix goes before the national form of the number; the
// number alone goes out as typed, made dialable.
TEST_F(AdressenTarife, PrefixGoesBeforeTheNationalFormOfTheNumber) {
  struct Case {
    const char* number;
    const char* zone;
    const char* countryCode;  // Landesvorwahl, nullptr: none set
    const char* dialled;
  };
  const Case cases[] = {
      {"+49 711 123456", "Fern", nullptr, "010220711123456"}, {"+49 (0)711 123456", "Fern", nullptr, "010220711123456"},
      {"+33 1 2345", "Fern", nullptr, "01022003312345"},      {"+49 711 123456", "", nullptr, "+49711123456"},
      {"+49 711 123456", "Fern", "43", "010220049711123456"}, {"+43 1 2345", "Fern", "+43", "01022012345"},
      {"0711 123456", "fern", nullptr, "010220711123456"},  // a zone stored in another case
      {"0711 123456", "FERN", nullptr, "010220711123456"},
  };
  OpenWindow();
  for (const Case& c : cases) {
    if (c.countryCode != nullptr) {
      ASSERT_TRUE(ProfileWriteString(HostIniFile(), "Telefon", "Landesvorwahl", c.countryCode));
    }
    AddNumbers(c.number, "", c.zone);
    DoubleClick(window_->EdTelefon);
    EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " " + c.dialled) << c.number << " " << c.zone;
    std::filesystem::remove(HostIniFile());
  }
  EXPECT_TRUE(errors_.empty()) << testing::PrintToString(errors_);
}

TEST_F(AdressenTarife, AZoneInAnotherCaseShowsAsTheListedZone) {
  OpenWindow();
  AddNumbers("0711 1", "0711 2", "fern", "o'zone");
  EXPECT_EQ(window_->DBHCTarifzone1->Text(), "Fern");
  EXPECT_EQ(window_->DBHCTarifzone2->Text(), "O'Zone");
}

// A number from elsewhere (a telephone link) finds its address on any page
// and takes that number's zone; an unknown one goes out without a prefix.
TEST_F(AdressenTarife, ANumberFromElsewhereFindsItsAddress) {
  OpenWindow();
  AddNumbers("0711 123456", "", "Fern");
  TRadiRidir& table = *window_->MTbAdressen;
  table.Append();
  table.FieldByName("Name")->SetAsString("Zander");
  table.FieldByName("Telefon2")->SetAsString("+49 (0)171 5");
  table.FieldByName("Tarifzone2")->SetAsString("O'Zone");
  table.Post();
  SelectTab(26);  // "&Z"
  window_->DialNumber("+49-711-123456");
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Özdemir");
  EXPECT_EQ(window_->TCAdressen->TabIndex(), 0) << "shown on Alle";
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 010220711123456");
  window_->DialNumber("01715");
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Zander");
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 0101101715") << "the second zone";
  window_->DialNumber("030 999");
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Zander") << "the address shown stays";
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 030999");
  const size_t placed = Requests().size();
  window_->DialNumber("030 999 bitte");
  EXPECT_EQ(Status(), "Fehler in der Eingabe");
  EXPECT_EQ(Requests().size(), placed);
  EXPECT_TRUE(errors_.empty()) << testing::PrintToString(errors_);
}

TEST_F(AdressenTarife, NoTariffInForceDialsWithoutPrefixAndSaysSo) {
  OpenWindow();
  AddNumbers("0171 5", "", "Mobil");
  std::string shown;
  QTimer::singleShot(300, [&] { shown = Status(); });
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(shown, "Kein Netz 5 für die Zone Mobil – Wahl ohne Vorwahl") << "stands a moment before the dial";
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 01715");
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(AdressenTarife, DialStringOfMoreThanFortyCharactersIsRefused) {
  // A network whose prefix is long enough for a full number to pass 40.
  std::filesystem::remove(File("Data/Tarife.mti"));
  std::filesystem::remove(File("Data/Telefon.mti"));
  MakeTariffTables(File("long"), kTestTariffs, std::string(kTestNetworks) + "5,01012345678,Lang\r\n");
  OpenWindow();
  AddNumbers(std::string(30, '1'), std::string(29, '2'), "Mobil", "Mobil");
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Status(), "Fehler in der Eingabe");
  EXPECT_TRUE(Requests().empty()) << "a cut number would call someone else";
  DoubleClick(window_->EdTelefon2);
  EXPECT_EQ(Requests(),
            std::vector<std::string>{"place " + std::to_string(LastCall()) + " 01012345678" + std::string(29, '2')})
      << "forty characters go through";
}

TEST_F(AdressenTarife, MissingTariffTablePlacesNoCall) {
  std::filesystem::remove(File("Data/Tarife.mti"));
  OpenWindow();
  AddNumbers("0711 1", "", "Fern");
  DoubleClick(window_->EdTelefon);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(errors_, std::vector<std::string>{"Die Tariftabelle Data\\Tarife.mti fehlt"});
}

TEST_F(AdressenTarife, WithoutSettingsFileNoPrefixEvenWithZones) {
  std::filesystem::remove(File("ttarife.ini"));
  OpenWindow();
  AddNumbers("0711 1", "", "Fern");
  DoubleClick(window_->EdTelefon);
  EXPECT_EQ(Requests().back(), "place " + std::to_string(LastCall()) + " 07111");
}

}  // namespace
}  // namespace vesk
