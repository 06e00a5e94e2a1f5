// The dialog "Abgleich" used as a user does: an account typed, checked
// against Radicale with a wrong and then the right password, one of two
// address books chosen and kept; plain http to another computer asked about
// once; a server's own certificate shown with its fingerprint, trusted and
// kept; Esc leaves the file as it was.
#include "host/sync_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSslCertificate>
#include <QTest>

#include "platform/message_box.h"
#include "runtime/file_io.h"
#include "sync/sync_settings.h"
#include "tests/support/radicale_server.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

class SyncDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxHook([this](const MessageBoxRequest& request) {
      boxes_.push_back(request.text);
      return answer_;
    });
  }
  void TearDown() override { SetMessageBoxHook({}); }

  template <class T>
  T* Child(const char* name) {
    T* child = dialog_->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  void Type(const char* field, const std::string& text) {
    QLineEdit* edit = Child<QLineEdit>(field);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  // Clicks "Verbindung prüfen" and waits for its answer.
  std::string Check() {
    QTest::mouseClick(Child<QPushButton>("Verbindung prüfen"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog_->Checking(); }, 20000));
    return dialog_->CheckResult();
  }
  void Open() {
    dialog_ = std::make_unique<TDlgAbgleich>(ini_, nullptr);
    dialog_->show();
  }

  TempFolder folder_;
  std::string ini_ = folder_.File("vesktools.ini");
  std::unique_ptr<TDlgAbgleich> dialog_;
  std::vector<std::string> boxes_;
  MbResult answer_ = MbResult::No;
};

TEST_F(SyncDialogTest, AnAccountTypedCheckedAndKept) {
  RadicaleServer server;
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  server.AddAddressBook("max/verein", "Verein");
  server.AddCalendar("max/privat", "Privat", "VEVENT");
  Open();
  EXPECT_EQ(Check(), "Tragen Sie zuerst den Server ein.");
  Type("Server", server.Url());
  Type("Benutzer", "max");
  Type("Passwort", "falsch");
  EXPECT_NE(Check().find("Anmeldung abgelehnt"), std::string::npos) << dialog_->CheckResult();
  Type("Passwort", "geheim \"mit\" Leerzeichen");
  EXPECT_NE(Check().find("Anmeldung abgelehnt"), std::string::npos);
  Type("Passwort", "geheim");
  EXPECT_EQ(Check(), "Verbindung in Ordnung: 2 Adressbücher, 1 Kalender gefunden");
  EXPECT_EQ(Child<QComboBox>("Kalender")->currentData().toString().toStdString(), server.Url("/max/privat/"));
  QComboBox* book = Child<QComboBox>("Adressbuch");
  ASSERT_EQ(book->count(), 2);
  book->setCurrentIndex(book->findText("Verein", Qt::MatchStartsWith));
  Child<QSpinBox>("Intervall")->setValue(5);
  QTest::mouseClick(Child<QPushButton>("OK"), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_TRUE(boxes_.empty());  // this computer: no warning about http

  const SyncSettings kept = ReadSyncSettings(ini_);
  EXPECT_EQ(kept.server, server.Url());
  EXPECT_EQ(kept.account.user, "max");
  EXPECT_EQ(kept.account.password, "geheim");
  EXPECT_EQ(kept.book, server.Url("/max/verein/"));
  EXPECT_EQ(kept.calendar, server.Url("/max/privat/"));
  EXPECT_EQ(kept.intervalMinutes, 5);

  // Shown again as kept; a check keeps the chosen book chosen; Esc changes nothing.
  Open();
  EXPECT_EQ(Child<QLineEdit>("Passwort")->text().toStdString(), "geheim");
  EXPECT_EQ(Check(), "Verbindung in Ordnung: 2 Adressbücher, 1 Kalender gefunden");
  EXPECT_EQ(Child<QComboBox>("Adressbuch")->currentData().toString().toStdString(), server.Url("/max/verein/"));
  Child<QSpinBox>("Intervall")->setValue(0);
  const std::string before = ReadFile(ini_).value_or("");
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_EQ(ReadFile(ini_).value_or(""), before);
}

TEST_F(SyncDialogTest, PlainHttpToAnotherComputerIsAskedAboutOnce) {
  Open();
  Type("Server", "http://nas.invalid:5232");
  Type("Benutzer", "max");
  answer_ = MbResult::No;
  EXPECT_EQ(Check(), "");  // not sent
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("nicht verschlüsselt"), std::string::npos) << boxes_[0];
  answer_ = MbResult::Yes;
  EXPECT_NE(Check(), "");
  EXPECT_EQ(boxes_.size(), 2u);
  Check();
  QTest::mouseClick(Child<QPushButton>("OK"), Qt::LeftButton);
  EXPECT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  // Kept so: the next dialog does not ask again for the same server.
  Open();
  QTest::mouseClick(Child<QPushButton>("OK"), Qt::LeftButton);
  EXPECT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(ReadSyncSettings(ini_).server, "http://nas.invalid:5232");
}

TEST_F(SyncDialogTest, AServersOwnCertificateIsTrustedByItsFingerprint) {
  RadicaleServer server("max:geheim\n", RadicaleServer::Transport::Tls);
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  const QList<QSslCertificate> certificates = QSslCertificate::fromPath(QString::fromStdString(server.Certificate()));
  ASSERT_EQ(certificates.size(), 1);
  const std::string fingerprint = Fingerprint(certificates.front().toDer());
  Open();
  QCheckBox* trust = Child<QCheckBox>("Zertifikat");
  EXPECT_FALSE(trust->isVisible());
  Type("Server", server.Url());
  Type("Benutzer", "max");
  Type("Passwort", "geheim");
  EXPECT_NE(Check().find(fingerprint), std::string::npos) << dialog_->CheckResult();
  EXPECT_TRUE(trust->isVisible());
  EXPECT_NE(trust->text().toStdString().find(fingerprint), std::string::npos);
  QTest::mouseClick(trust, Qt::LeftButton);
  EXPECT_EQ(Check(), "Verbindung in Ordnung: 1 Adressbuch, kein Kalender für Termine gefunden");
  QTest::mouseClick(Child<QPushButton>("OK"), Qt::LeftButton);
  const SyncSettings kept = ReadSyncSettings(ini_);
  EXPECT_EQ(kept.account.trustedCertificate, fingerprint);
  EXPECT_EQ(kept.book, server.Url("/max/kontakte/"));
  // Another server's certificate is not trusted for it.
  Open();
  EXPECT_TRUE(Child<QCheckBox>("Zertifikat")->isChecked());
  Type("Server", "https://127.0.0.1:1/");
  EXPECT_FALSE(Child<QCheckBox>("Zertifikat")->isVisible());
  EXPECT_EQ(Child<QComboBox>("Adressbuch")->count(), 0);
}

}  // namespace
}  // namespace vesk
