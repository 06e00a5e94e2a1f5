// TFREinstellungen: opens with the stored values, OK (Enter) writes both
// values to the host's INI file and refuses values outside their range,
// cancel (Esc) writes nothing, every close notifies a test host window with
// wParam 0; layout, hints and tab order as the user meets them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QToolTip>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "platform/registered_messages.h"
#include "runtime/file_io.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/design_scale.h"
#include "toolkit/screenshot.h"
#include "tools/VeskMsg.h"
#include "tools/entry_point_execute.h"
#include "tools/host_files.h"
#include "tools/termine/Einstmn.h"

namespace vesk {
namespace {

struct Notification {
  uint16_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

class EinstTest : public testing::Test {
 protected:
  void SetUp() override {
    // As the library does at its start.
    RegisterVeskToolsMessage();
    host = std::make_unique<TopLevelWindow>("TFRVeskTools", "Tools",
                                            [this](uint16_t message, uintptr_t wParam, intptr_t lParam) {
                                              received.push_back({message, wParam, lParam});
                                            });
    window = new TFREinstellungen();
    window->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  void TearDown() override {
    if (!window.isNull()) window->Free();
    Application().OnException = nullptr;
  }

  // A new window, as the entry point makes it, over what is stored now.
  void Reopen() {
    window->Free();
    window = new TFREinstellungen();
    window->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  // Replaces the field's text as the user types it: select, delete, type.
  void Type(TIntEdit* edit, const char* text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  std::optional<std::string> Stored(const char* key) {
    const std::string value = ProfileReadString(HostIniFile(), "Alarm", key, "<fehlt>");
    if (value == "<fehlt>") return std::nullopt;
    return value;
  }
  // Lets the deferred free and the posted notification arrive.
  void WaitForClose() {
    for (int i = 0; i < 100 && (!window.isNull() || received.empty()); ++i) QTest::qWait(10);
  }
  void ExpectOneCloseNotification() {
    ASSERT_EQ(received.size(), 1u);
    EXPECT_NE(received[0].message, 0);
    EXPECT_EQ(received[0].message, RegisterWindowMessage("VeskTools"));
    EXPECT_EQ(received[0].wParam, 0u);
    EXPECT_EQ(received[0].lParam, 0);
  }

  TempFolder home;
  ScopedEnv homeEnv{"VESK_HOME", home.Path()};
  std::unique_ptr<TopLevelWindow> host;
  std::vector<Notification> received;
  QPointer<TFREinstellungen> window;
};

TEST_F(EinstTest, OkWithoutChangesWritesDefaultsAndNotifies) {
  EXPECT_EQ(window->IEVorwarnzeit->text().toStdString(), "120");
  EXPECT_EQ(window->IEAlarmwiederholung->text().toStdString(), "10");
  QTest::mouseClick(window->BtnOK, Qt::LeftButton);
  WaitForClose();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(Stored("Vorwarnzeit"), "120");
  EXPECT_EQ(Stored("Alarmwiederholung"), "10");
  ExpectOneCloseNotification();
}

TEST_F(EinstTest, CancelWritesNothingAndStillNotifies) {
  window->IEVorwarnzeit->setFocus();
  QTest::keyClicks(window->IEVorwarnzeit, "5");
  QTest::mouseClick(window->BtnCancel, Qt::LeftButton);
  WaitForClose();
  EXPECT_TRUE(window.isNull());
  EXPECT_FALSE(std::filesystem::exists(HostIniFile()));
  ExpectOneCloseNotification();
}

TEST_F(EinstTest, TypedValuesAreStoredAsTyped) {
  // Lead time: replace 120 by 5, toggle the sign twice; interval: typed over.
  Type(window->IEVorwarnzeit, "5--");
  Type(window->IEAlarmwiederholung, "30");
  EXPECT_EQ(window->IEVorwarnzeit->text().toStdString(), "5");
  QTest::keyClick(window, 'O', Qt::AltModifier);
  WaitForClose();
  EXPECT_EQ(Stored("Vorwarnzeit"), "5");
  EXPECT_EQ(Stored("Alarmwiederholung"), "30");
  ExpectOneCloseNotification();
}

TEST_F(EinstTest, OpensWithTheStoredValuesAndOkKeepsThem) {
  ProfileWriteString(HostIniFile(), "Alarm", "Vorwarnzeit", "45");
  ProfileWriteString(HostIniFile(), "Alarm", "Alarmwiederholung", "5");
  Reopen();
  EXPECT_EQ(window->IEVorwarnzeit->text().toStdString(), "45");
  EXPECT_EQ(window->IEAlarmwiederholung->text().toStdString(), "5");
  QTest::mouseClick(window->BtnOK, Qt::LeftButton);
  WaitForClose();
  EXPECT_EQ(Stored("Vorwarnzeit"), "45") << "OK does not fall back to the defaults";
  EXPECT_EQ(Stored("Alarmwiederholung"), "5");

  // A stored value that is no number shows its default; the other stays.
  ProfileWriteString(HostIniFile(), "Alarm", "Vorwarnzeit", "viel");
  window = new TFREinstellungen();
  EXPECT_EQ(window->IEVorwarnzeit->text().toStdString(), "120");
  EXPECT_EQ(window->IEAlarmwiederholung->text().toStdString(), "5");
}

TEST_F(EinstTest, OkRefusesValuesOutsideTheirRangeAndNamesIt) {
  std::vector<std::string> errors;
  Application().OnException = [&](const std::exception& error) { errors.push_back(error.what()); };
  ProfileWriteString(HostIniFile(), "Alarm", "Anderes", "bleibt");
  const std::optional<std::string> before = ReadFile(HostIniFile());
  const std::string lead = "Die Vorwarnzeit muss zwischen 0 und 1440 Minuten liegen";
  const std::string repeat = "Die Alarmwiederholung muss zwischen 1 und 1440 Minuten liegen";
  struct Case {
    const char* lead;
    const char* repeat;
    const std::string& message;
  };
  for (const Case& entry : {Case{"5-", "10", lead}, Case{"1441", "10", lead}, Case{"120", "0", repeat},
                            Case{"120", "1441", repeat}, Case{"99999999999", "10", lead}}) {
    Type(window->IEVorwarnzeit, entry.lead);
    Type(window->IEAlarmwiederholung, entry.repeat);
    errors.clear();
    QTest::mouseClick(window->BtnOK, Qt::LeftButton);
    QTest::qWait(20);
    ASSERT_FALSE(window.isNull()) << entry.lead << " " << entry.repeat;
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(errors, std::vector<std::string>{entry.message}) << entry.lead << " " << entry.repeat;
    TIntEdit* wrong = entry.message == lead ? window->IEVorwarnzeit : window->IEAlarmwiederholung;
    EXPECT_EQ(QApplication::focusWidget(), wrong) << "the field to correct";
    EXPECT_EQ(wrong->selectedText(), wrong->text());
  }
  // Pasted text that is no number is no value either.
  Type(window->IEVorwarnzeit, "120");
  window->IEAlarmwiederholung->setText("zehn");
  errors.clear();
  QTest::mouseClick(window->BtnOK, Qt::LeftButton);
  EXPECT_EQ(errors, std::vector<std::string>{repeat});
  EXPECT_EQ(ReadFile(HostIniFile()), before) << "nothing was written";
  EXPECT_TRUE(received.empty());

  // The ends of both ranges are allowed.
  Type(window->IEVorwarnzeit, "0");
  Type(window->IEAlarmwiederholung, "1440");
  QTest::mouseClick(window->BtnOK, Qt::LeftButton);
  WaitForClose();
  EXPECT_EQ(Stored("Vorwarnzeit"), "0");
  EXPECT_EQ(Stored("Alarmwiederholung"), "1440");
  EXPECT_EQ(Stored("Anderes"), "bleibt");
  ExpectOneCloseNotification();
}

TEST_F(EinstTest, EnterIsOkAndEscIsCancel) {
  std::vector<std::string> errors;
  Application().OnException = [&](const std::exception& error) { errors.push_back(error.what()); };
  Type(window->IEAlarmwiederholung, "0");
  QTest::keyClick(window->IEAlarmwiederholung, Qt::Key_Return);
  EXPECT_EQ(errors.size(), 1u) << "Enter runs OK's checks";
  Type(window->IEAlarmwiederholung, "15");
  QTest::keyClick(window->IEAlarmwiederholung, Qt::Key_Return);
  WaitForClose();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(Stored("Alarmwiederholung"), "15");
  ExpectOneCloseNotification();

  received.clear();
  window = new TFREinstellungen();
  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(window->IEAlarmwiederholung->text().toStdString(), "15");
  Type(window->IEVorwarnzeit, "30");
  QTest::keyClick(window->IEVorwarnzeit, Qt::Key_Escape);
  WaitForClose();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(Stored("Vorwarnzeit"), "120") << "Esc wrote nothing";
  ExpectOneCloseNotification();
}

TEST_F(EinstTest, ClosingByTheWindowFrameNotifiesAndWritesNothing) {
  window->close();
  WaitForClose();
  EXPECT_TRUE(window.isNull());
  EXPECT_FALSE(std::filesystem::exists(HostIniFile()));
  ExpectOneCloseNotification();
}

TEST_F(EinstTest, WithoutHostTheCloseGoesOn) {
  host.reset();
  QTest::mouseClick(window->BtnOK, Qt::LeftButton);
  for (int i = 0; i < 100 && !window.isNull(); ++i) QTest::qWait(10);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(Stored("Vorwarnzeit"), "120");
}

TEST_F(EinstTest, ProgramFolderRefusedShowsErrorAndKeepsWindowOpen) {
  std::vector<std::string> errors;
  Application().OnException = [&](const std::exception& error) { errors.push_back(error.what()); };
  const std::string blocker = home.File("keine-mappe");
  std::ofstream(blocker) << "x";
  ScopedEnv blocked("VESK_HOME", blocker);
  QTest::mouseClick(window->BtnOK, Qt::LeftButton);
  QTest::qWait(50);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_FALSE(window.isNull());
  EXPECT_TRUE(received.empty());
}

TEST_F(EinstTest, LayoutHintsAndTabOrder) {
  EXPECT_EQ(window->windowTitle().toStdString(), "Einstellungen");
  EXPECT_EQ(window->size(), QSize(Scale(314), Scale(91)));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->Label1->text().toStdString(), "Vorwarnzeit");
  EXPECT_EQ(window->Label2->text().toStdString(), "Alarmwiederholung");
  EXPECT_EQ(window->BtnOK->text().toStdString(), "&OK");
  EXPECT_EQ(window->BtnCancel->text().toStdString(), "&Abbrechen");
  EXPECT_EQ(window->IEVorwarnzeit->width(), Scale(29));
  const std::string leadHint = "Wieviel Minuten vor dem Termin \r\nsoll Warnung angezeigt werden";
  const std::string repeatHint = "Nach wieviel Minuten soll Alarm \r\nüberprüft bzw. wiederholt werden";
  EXPECT_EQ(window->Label1->toolTip().toStdString(), leadHint);
  EXPECT_EQ(window->IEVorwarnzeit->toolTip().toStdString(), leadHint);
  EXPECT_EQ(window->Label2->toolTip().toStdString(), repeatHint);
  EXPECT_EQ(window->IEAlarmwiederholung->toolTip().toStdString(), repeatHint);

  // Focus starts on OK and Tab walks OK, Abbrechen, lead time, interval.
  EXPECT_EQ(QApplication::focusWidget(), window->BtnOK);
  const std::vector<QWidget*> order = {window->BtnCancel, window->IEVorwarnzeit, window->IEAlarmwiederholung,
                                       window->BtnOK};
  for (QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
  // Resting the mouse on a label shows its hint.
  QTest::mouseMove(window->Label2);
  for (int i = 0; i < 200 && !QToolTip::isVisible(); ++i) QTest::qWait(10);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text().toStdString(), repeatHint);
  QToolTip::hideText();

  const char* shot = std::getenv("VESK_EINST_SCREENSHOT");
  if (shot != nullptr) {
    EXPECT_TRUE(SaveScreenshot(*window, shot));
  }
}

// The entry-point steps find the window by its class name and caption, so a
// second call brings up the same window, also out of its minimised state.
TEST(EinstExecuteSteps, SecondCallShowsTheSameWindow) {
  QPointer<TFREinstellungen> instance;
  Execute(instance, "TFREinstellungen", "Einstellungen");
  ASSERT_FALSE(instance.isNull());
  TFREinstellungen* first = instance;
  EXPECT_TRUE(FindWindow("TFREinstellungen", "Einstellungen").has_value());
  Execute(instance, "TFREinstellungen", "Einstellungen");
  EXPECT_EQ(instance, first);
  EXPECT_EQ(Application().Windows().size(), 1u);

  // Minimised by the user: the next call brings it back, raised and active.
  instance->showMinimized();
  ASSERT_TRUE(instance->isMinimized());
  Execute(instance, "TFREinstellungen", "Einstellungen");
  EXPECT_EQ(instance, first);
  EXPECT_FALSE(instance->isMinimized());
  EXPECT_TRUE(instance->isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(instance));
  instance->Free();
  EXPECT_FALSE(FindWindow("TFREinstellungen", "Einstellungen").has_value());
}

// The host's INI file keeps its name while the host runs on after an
// update replaced its executable.
TEST(HostIniName, IsTheExecutablesNameEvenWhenItWasReplaced) {
  const std::pair<const char*, const char*> cases[] = {{"/usr/bin/vesktools", "vesktools.ini"},
                                                       {"/usr/bin/vesktools (deleted)", "vesktools.ini"},
                                                       {"/opt/vesk/bin/tools.bin", "tools.ini"},
                                                       {"/opt/vesk/bin/tools.bin (deleted)", "tools.ini"}};
  for (const auto& [executable, ini] : cases) EXPECT_EQ(HostIniName(executable), ini) << executable;
}

}  // namespace
}  // namespace vesk
