// The host's import, export and sync buttons used as a user does: the file
// dialog answered with a file, with Esc, a broken file answered by one
// message box, a long import stopped in its progress dialog; the sync by
// hand and on schedule, waiting for the address window, resting after a
// refused login, stopped by its button; the appointments after them.
#include "host/exchange_buttons.h"
#include "host/address_sync_schedule.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>

#include "host/host_window.h"
#include "host/tools_library.h"
#include "platform/message_box.h"
#include "platform/window_messages.h"
#include "runtime/file_io.h"
#include "tests/support/radicale_server.h"
#include "tests/support/temp_folder.h"
#include "toolkit/button.h"
#include "tools/host_files.h"
#include "tools/host_notification.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// The QApplication is the test program's (tests/support/qt_environment.cpp).
class ExchangeButtonsTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("VESK_HOME", folder_.Path().c_str(), 1);
    std::filesystem::current_path(folder_.Path());
    ASSERT_TRUE(library_.Load()) << library_.ErrorText();
    window_ = std::make_unique<TFRVeskTools>(library_, 0xC123);
    window_->Show();
    SetMessageBoxHook([this](const MessageBoxRequest& request) {
      boxes_.push_back(request.text);
      return MbResult::Ok;
    });
  }
  void TearDown() override {
    SetMessageBoxHook({});
    window_.reset();
    std::filesystem::current_path(previous_);
  }

  // Clicks the button; answers its file dialog, which opens in the program
  // folder, by typing the name there and clicking its button, or with Esc
  // when the name is empty.
  void ClickAndAnswer(const char* button, const std::string& file) {
    bool answered = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      answerer.stop();
      answered = true;
      if (file.empty()) return QTest::keyClick(dialog, Qt::Key_Escape);
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      QTest::keyClicks(name, QString::fromStdString(file));
      // The button, since Enter goes to the name completion's list.
      auto* box = dialog->findChild<QDialogButtonBox*>("buttonBox");
      ASSERT_NE(box, nullptr);
      QPushButton* accept = box->button(dialog->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                                        : QDialogButtonBox::Save);
      ASSERT_NE(accept, nullptr);
      // The dialog lists the folder in the background; the button waits for it.
      EXPECT_TRUE(QTest::qWaitFor([&] { return accept->isEnabled(); }, 5000)) << file;
      QTest::mouseClick(accept, Qt::LeftButton);
    });
    answerer.start(10);
    QTest::mouseClick(window_->Button(button), Qt::LeftButton);
    EXPECT_TRUE(answered);
  }

  void CopySample(const char* name) {
    std::filesystem::copy_file(std::string(EXCHANGE_SAMPLES "/") + name, folder_.File(name));
  }

  bool SyncEnded() {
    return QTest::qWaitFor([&] { return !window_->AddressSync().Running(); }, 20000);
  }

  int Addresses() {
    TRadiRidir table;
    table.SetTableName(kAdressenTable);
    table.SetReadOnly(true);
    table.Open();
    return table.RecordCount();
  }

  std::filesystem::path previous_ = std::filesystem::current_path();
  TempFolder folder_;
  ToolsLibrary library_{FAKE_TOOLS_LIBRARY};
  std::unique_ptr<TFRVeskTools> window_;
  std::vector<std::string> boxes_;
};

TEST_F(ExchangeButtonsTest, ImportThroughTheFileDialog) {
  CopySample("phone_21.vcf");
  ClickAndAnswer("Importieren…", "phone_21.vcf");
  EXPECT_EQ(window_->StatusText(), "2 Adressen importiert");
  ClickAndAnswer("Importieren…", "");
  EXPECT_EQ(window_->StatusText(), "2 Adressen importiert");

  ASSERT_TRUE(WriteFileAtomically(folder_.File("kaputt.vcf"), "BEGIN:VCARD\r\nN:Köhler;Änne\r\n"));
  ClickAndAnswer("Importieren…", "kaputt.vcf");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("Zeile 1: die Karte endet nicht mit END:VCARD"), std::string::npos) << boxes_[0];
  EXPECT_EQ(window_->StatusText(), "Import fehlgeschlagen, nichts geändert");
  EXPECT_EQ(Addresses(), 2);

  EXPECT_EQ(ImportFile(*window_, EXCHANGE_SAMPLES "/other_zone.ics"), "3 Termine importiert");

  // What cannot be read is named in the status bar and, all of it, in one box.
  boxes_.clear();
  EXPECT_EQ(ImportFile(*window_, EXCHANGE_SAMPLES "/booking.ics"),
            "1 Termin übernommen, 3 übersprungen: Zeile 17: Eigenschaft ohne Doppelpunkt; Zeile 21: Termin ohne "
            "Beginn; Zeile 27: Text nach dem Ende des Kalenders");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("wurde 1 Eintrag übernommen"), std::string::npos) << boxes_[0];
  EXPECT_NE(boxes_[0].find("Zeile 27: Text nach dem Ende des Kalenders"), std::string::npos) << boxes_[0];
}

TEST_F(ExchangeButtonsTest, ImportWhileTheWindowWritesTheTableSaysWhatToDo) {
  CopySample("phone_21.vcf");
  ClickAndAnswer("Importieren…", "phone_21.vcf");
  TRadiRidir window;  // as the address window holds it
  window.SetTableName(kAdressenTable);
  window.Open();
  ClickAndAnswer("Importieren…", "phone_21.vcf");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("Die Adressen werden gerade in ihrem Fenster oder einem anderen Programm bearbeitet"),
            std::string::npos)
      << boxes_[0];
  EXPECT_EQ(window_->StatusText(), "Import fehlgeschlagen, nichts geändert");
  window.Close();
  EXPECT_EQ(Addresses(), 2);
}

TEST_F(ExchangeButtonsTest, ExportThroughTheFileDialog) {
  EXPECT_EQ(ImportFile(*window_, EXCHANGE_SAMPLES "/webmail_30.vcf"), "1 Adresse importiert");
  ClickAndAnswer("Exportieren…", "aus.vcf");
  EXPECT_EQ(window_->StatusText(), "1 Adresse exportiert");
  const std::optional<std::string> written = ReadFile(folder_.File("aus.vcf"));
  ASSERT_TRUE(written.has_value());
  EXPECT_NE(written->find("N:Öztürk;Ayşe;;;"), std::string::npos);

  EXPECT_EQ(ImportFile(*window_, EXCHANGE_SAMPLES "/other_zone.ics"), "3 Termine importiert");
  EXPECT_EQ(ExportFile(*window_, folder_.File("termine.ics"), "ics"), "3 Termine exportiert");
  EXPECT_NE(ReadFile(folder_.File("termine.ics")).value_or("").find("BEGIN:VALARM"), std::string::npos);
  ClickAndAnswer("Exportieren…", "");
  EXPECT_EQ(window_->StatusText(), "1 Adresse exportiert");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ExchangeButtonsTest, ALongImportShowsItsProgressAndCanBeStopped) {
  std::string many;
  for (size_t i = 0; i <= kImportProgressFrom; ++i)
    many += "BEGIN:VCARD\r\nN:Nummer " + std::to_string(i) + "\r\nEND:VCARD\r\n";
  ASSERT_TRUE(WriteFileAtomically(folder_.File("viele.vcf"), many));
  bool shown = false;
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (auto* progress = window_->findChild<QProgressDialog*>("DlgImport"); progress && progress->isVisible()) {
      shown = true;
      progress->cancel();
    }
  });
  stopper.start(0);
  EXPECT_EQ(ImportFile(*window_, folder_.File("viele.vcf")), "Import abgebrochen, nichts geändert");
  EXPECT_TRUE(shown);
  EXPECT_EQ(Addresses(), 0);
  stopper.stop();
  EXPECT_EQ(ImportFile(*window_, folder_.File("viele.vcf")),
            std::to_string(kImportProgressFrom + 1) + " Adressen importiert");
}

// "Jetzt abgleichen": without an account one box says what to set; with
// one the addresses go to the server and the status bar counts them; a
// refused login is one box and a short status.
TEST_F(ExchangeButtonsTest, SyncNowWithTheAccountOfTheIniFile) {
  QTest::mouseClick(window_->Button("Jetzt abgleichen"), Qt::LeftButton);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("noch nicht eingerichtet"), std::string::npos) << boxes_[0];

  RadicaleServer server;
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  const std::string ini = HostIniFile();
  ASSERT_TRUE(WriteFileAtomically(ini, "[Abgleich]\nServer=" + server.Url() + "\nBenutzer=max\nPasswort=geheim\n"));
  EXPECT_EQ(ImportFile(*window_, EXCHANGE_SAMPLES "/phone_21.vcf"), "2 Adressen importiert");
  auto syncNow = [&] {
    QTest::mouseClick(window_->Button("Jetzt abgleichen"), Qt::LeftButton);
    return SyncEnded();
  };
  ASSERT_TRUE(syncNow());
  EXPECT_EQ(window_->StatusText(), "Adressen abgeglichen: 2 neu, 0 geändert, 0 gelöscht");
  EXPECT_NE(ReadFile(ini).value_or("").find("Adressbuch=" + server.Url("/max/kontakte/")), std::string::npos);
  ASSERT_TRUE(syncNow());
  EXPECT_EQ(window_->StatusText(), "Adressen abgeglichen: 0 neu, 0 geändert, 0 gelöscht");

  boxes_.clear();
  ASSERT_TRUE(WriteFileAtomically(ini, "[Abgleich]\nServer=" + server.Url() + "\nBenutzer=max\nPasswort=falsch\n" +
                                           "Adressbuch=" + server.Url("/max/kontakte/") + "\n"));
  ASSERT_TRUE(syncNow());
  EXPECT_EQ(window_->StatusText(), "Abgleich fehlgeschlagen");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("Anmeldung abgelehnt"), std::string::npos) << boxes_[0];
}

// On schedule: a table held by its window is waited for, a failure is
// only told in the status bar, a refused login rests the schedule until
// the account changes; a sync by hand is stopped by the same button.
TEST_F(ExchangeButtonsTest, ScheduledSyncsWaitRestAndStop) {
  RadicaleServer server;
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  const std::string ini = HostIniFile();
  auto account = [&](const std::string& password) {
    return WriteFileAtomically(ini, "[Abgleich]\nServer=" + server.Url() + "\nBenutzer=max\nPasswort=" + password +
                                        "\nIntervall=0\nAdressbuch=" + server.Url("/max/kontakte/") + "\n");
  };
  ASSERT_TRUE(account("geheim"));
  EXPECT_EQ(ImportFile(*window_, EXCHANGE_SAMPLES "/phone_21.vcf"), "2 Adressen importiert");
  {
    TRadiRidir held;  // as the address window holds it
    held.SetTableName(kAdressenTable);
    held.Open();
    window_->AddressSync().Periodic();
    EXPECT_EQ(window_->StatusText(), "Abgleich wartet, bis das Fenster Adressen geschlossen ist");
    EXPECT_FALSE(window_->AddressSync().Running());
  }
  ASSERT_TRUE(PostMessage(window_->Handle(), 0xC123, kWindowClosed, 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->AddressSync().Running(); }, 5000));
  ASSERT_TRUE(SyncEnded());
  EXPECT_EQ(window_->StatusText(), "Adressen abgeglichen: 2 neu, 0 geändert, 0 gelöscht");

  ASSERT_TRUE(account("falsch"));
  window_->AddressSync().Periodic();
  ASSERT_TRUE(SyncEnded());
  const std::string resting = window_->StatusText();
  EXPECT_NE(resting.find("Anmeldung abgelehnt"), std::string::npos) << resting;
  EXPECT_NE(resting.find("ruht, bis das Konto geändert ist"), std::string::npos) << resting;
  window_->AddressSync().Periodic();
  EXPECT_FALSE(window_->AddressSync().Running());
  ASSERT_TRUE(account("geheim"));
  window_->AddressSync().SettingsChanged();
  ASSERT_TRUE(SyncEnded());
  EXPECT_EQ(window_->StatusText(), "Adressen abgeglichen: 0 neu, 0 geändert, 0 gelöscht");
  EXPECT_TRUE(boxes_.empty());

  // A first sync of many cards, stopped by the button before its first batch is in.
  std::string many;
  for (int i = 0; i < 150; ++i)
    many += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nummer " + std::to_string(i) + "\r\nEND:VCARD\r\n";
  ASSERT_TRUE(WriteFileAtomically(folder_.File("viele.vcf"), many));
  EXPECT_EQ(ImportFile(*window_, folder_.File("viele.vcf")), "150 Adressen importiert");
  window_->AddressSync().Periodic();
  ASSERT_TRUE(SyncEnded());
  std::filesystem::remove(folder_.File("Data/adressen.sync"));
  std::filesystem::remove(folder_.File("Data/adressen.mti"));
  QTest::mouseClick(window_->Button("Jetzt abgleichen"), Qt::LeftButton);
  EXPECT_EQ(window_->Button("Jetzt abgleichen")->text(), "Abgleich anhalten");
  QTest::mouseClick(window_->Button("Jetzt abgleichen"), Qt::LeftButton);
  ASSERT_TRUE(SyncEnded());
  EXPECT_EQ(window_->StatusText(), "Abgleich angehalten");
  EXPECT_EQ(window_->Button("Jetzt abgleichen")->text(), "Jetzt abgleichen");
  EXPECT_EQ(Addresses(), 0);
  EXPECT_TRUE(boxes_.empty());
}

// With a calendar chosen the appointments follow the addresses: they wait
// while the appointment window holds their table, and one made on the
// server for today reaches the reminder list, which the host is told of
// as of the window's closing, so that it restarts the reminder program.
TEST_F(ExchangeButtonsTest, TheAppointmentsFollowAndFeedTheReminderList) {
  RadicaleServer server;
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  server.AddCalendar("max/termine", "Termine", "VEVENT");
  const QDateTime soon = QDateTime::currentDateTimeUtc().addSecs(2 * 3600);
  std::ofstream(server.Storage("max/termine") + "/bald.ics")
      << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:bald@phone\r\n"
      << "DTSTAMP:20261201T100000Z\r\nDTSTART:" << soon.toString("yyyyMMdd'T'HHmm'00Z'").toStdString()
      << "\r\nSUMMARY:Anruf beim Amt\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  ASSERT_TRUE(WriteFileAtomically(
      HostIniFile(), "[Abgleich]\nServer=" + server.Url() +
                         "\nBenutzer=max\nPasswort=geheim\nIntervall=0\nAdressbuch=" + server.Url("/max/kontakte/") +
                         "\nKalender=" + server.Url("/max/termine/") + "\n"));
  std::vector<uintptr_t> told;
  window_->OnVeskTools = [&](uintptr_t wParam) { told.push_back(wParam); };
  {
    CreateTableWhenMissing(TermineSchema());
    TRadiRidir held;  // as the appointment window holds it
    held.SetTableName(kTermineTable);
    held.Open();
    window_->AddressSync().Periodic();
    ASSERT_TRUE(SyncEnded());
    EXPECT_EQ(window_->StatusText(), "Abgleich wartet, bis das Fenster Termine geschlossen ist");
  }
  // The appointment window tells its closing by the list it wrote.
  ASSERT_TRUE(PostMessage(window_->Handle(), 0xC123, kReminderListWritten, 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->AddressSync().Running(); }, 5000));
  ASSERT_TRUE(SyncEnded());
  EXPECT_EQ(window_->StatusText(),
            "Adressen abgeglichen: 0 neu, 0 geändert, 0 gelöscht; Termine abgeglichen: 1 neu, 0 geändert, 0 gelöscht; "
            "Terminliste neu geschrieben");
  EXPECT_EQ(told, (std::vector<uintptr_t>{kReminderListWritten, kReminderListWritten}));
  const std::string list = ReadFile(folder_.File("termine.sav")).value_or("");
  EXPECT_NE(list.find(QDateTime(soon).toLocalTime().toString("HH:mm").toStdString()), std::string::npos) << list;

  // Nothing new: the list and the reminder program are left alone.
  window_->AddressSync().Periodic();
  ASSERT_TRUE(SyncEnded());
  EXPECT_EQ(told.size(), 2u);
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace vesk
