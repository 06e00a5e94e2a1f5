#include "host/sync_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <utility>

#include "host/dialog_form.h"
#include "platform/message_box.h"
#include "sync/collection_discovery.h"
#include "sync/sync_settings.h"

namespace vesk {
namespace {

constexpr int kMaxIntervalMinutes = 24 * 60;

// A choice of collections holding the stored one, each item holding its URL.
QComboBox* CollectionBox(const char* name, const char* placeholder, const std::string& stored, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setPlaceholderText(QString::fromUtf8(placeholder));
  if (!stored.empty()) {
    const QString url = QString::fromStdString(stored);
    box->addItem(url, url);
    box->setCurrentIndex(0);
  }
  return box;
}

// The collections found, the one chosen before staying chosen.
void Offer(QComboBox& box, const std::vector<DavCollection>& found) {
  const QString chosen = box.currentData().toString();
  box.clear();
  for (const DavCollection& entry : found) {
    const QString url = entry.url.toString();
    box.addItem(QString::fromStdString(entry.name) + " (" + url + ")", url);
  }
  const int kept = box.findData(chosen);
  box.setCurrentIndex(kept >= 0 ? kept : (found.empty() ? -1 : 0));
}

std::string Counted(size_t count, const char* one, const char* many, const char* none) {
  if (count == 0) return none;
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string TrustText(const std::string& fingerprint) {
  return "Diesem Zertifikat vertrauen (SHA-256 " + fingerprint + ")";
}

}  // namespace

TDlgAbgleich::TDlgAbgleich(std::string iniFile, QWidget* parent) : QDialog(parent), iniFile_(std::move(iniFile)) {
  const SyncSettings settings = ReadSyncSettings(iniFile_);
  setWindowTitle(QStringLiteral("Abgleich"));
  setObjectName("TDlgAbgleich");
  server_ = FormEdit(settings.server, "Server", "nas.fritz.box oder https://cloud.example.de", this);
  user_ = FormEdit(settings.account.user, "Benutzer", "", this);
  password_ = FormEdit(settings.account.password, "Passwort", "", this);
  password_->setEchoMode(QLineEdit::Password);
  book_ = CollectionBox("Adressbuch", "(wird beim ersten Abgleich gesucht)", settings.book, this);
  calendar_ = CollectionBox("Kalender", "(keiner: die Termine bleiben hier)", settings.calendar, this);
  interval_ = new QSpinBox(this);
  interval_->setObjectName("Intervall");
  interval_->setRange(0, kMaxIntervalMinutes);
  interval_->setSuffix(QStringLiteral(" Minuten"));
  interval_->setSpecialValueText(QStringLiteral("nur von Hand"));
  interval_->setValue(settings.intervalMinutes);
  fingerprint_ = settings.account.trustedCertificate;
  trust_ = new QCheckBox(QString::fromStdString(TrustText(fingerprint_)), this);
  trust_->setObjectName("Zertifikat");
  trust_->setChecked(!fingerprint_.empty());
  trust_->setVisible(!fingerprint_.empty());
  result_ = new QLabel(this);
  result_->setObjectName("Ergebnis");
  result_->setWordWrap(true);
  check_ = new QPushButton(QStringLiteral("&Verbindung prüfen"), this);
  check_->setObjectName("Verbindung prüfen");
  // The server's plain http was accepted when it was stored.
  if (Unencrypted(settings.account.server)) acceptedClear_ = settings.server;

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Server"), server_);
  form->addRow(QStringLiteral("Benutzername"), user_);
  form->addRow(QStringLiteral("Kennwort"), password_);
  form->addRow(QStringLiteral("Adressbuch"), book_);
  form->addRow(QStringLiteral("Kalender"), calendar_);
  form->addRow(QStringLiteral("Abgleich alle"), interval_);
  form->addRow(trust_);
  form->addRow(check_, result_);
  connect(check_, &QPushButton::clicked, this, [this] { Check(); });
  connect(server_, &QLineEdit::textEdited, this, [this] { ServerEdited(); });
  AddOkAndCancel(*form, *this);
  resize(sizeHint().width() * 3 / 2, sizeHint().height());
}

TDlgAbgleich::~TDlgAbgleich() {
  // A check still out ends here and tells nobody.
  std::unique_ptr<DavClient> ending = std::move(client_);
}

std::string TDlgAbgleich::CheckResult() const { return result_->text().toStdString(); }

DavAccount TDlgAbgleich::Typed() const {
  DavAccount account;
  const std::string server = Trimmed(server_);
  if (!server.empty()) account.server = ServerUrl(server);
  account.user = Trimmed(user_);
  account.password = password_->text().toStdString();
  if (trust_->isChecked()) account.trustedCertificate = fingerprint_;
  return account;
}

// The address book of another server, and its certificate, no longer hold.
void TDlgAbgleich::ServerEdited() {
  book_->clear();
  calendar_->clear();
  fingerprint_.clear();
  trust_->setChecked(false);
  trust_->setVisible(false);
}

bool TDlgAbgleich::ClearTextAccepted() {
  const std::string server = Trimmed(server_);
  if (server.empty() || !Unencrypted(ServerUrl(server)) || server == acceptedClear_) return true;
  const MbResult answer = ShowMessageBox(
      {"Die Verbindung zu " + server +
           " ist nicht verschlüsselt (http): Benutzername und Kennwort gehen lesbar über das Netz.\rTrotzdem "
           "verbinden?",
       "Abgleich", MbButtons::YesNo, MbIcon::Warning, MbResult::No, this});
  if (answer != MbResult::Yes) return false;
  acceptedClear_ = server;
  return true;
}

void TDlgAbgleich::Check() {
  if (Checking()) return;
  const DavAccount account = Typed();
  if (account.server.isEmpty()) {
    result_->setText(QStringLiteral("Tragen Sie zuerst den Server ein."));
    return server_->setFocus();
  }
  if (!ClearTextAccepted()) return;
  client_ = std::make_unique<DavClient>(account);
  check_->setEnabled(false);
  result_->setText(QStringLiteral("Verbindung wird geprüft…"));
  QPointer<TDlgAbgleich> self(this);
  DiscoverCollections(*client_, DavKind::AddressBook, [self](Discovery books) {
    if (!self || !self->client_) return;
    if (books.failure != DavFailure::None) return self->Checked(books, {});
    DiscoverCollections(*self->client_, DavKind::Calendar, [self, books](Discovery calendars) {
      if (self && self->client_) self->Checked(books, calendars);
    });
  });
}

void TDlgAbgleich::Checked(const Discovery& books, const Discovery& calendars) {
  // The connection goes once its answer has been handled.
  QMetaObject::invokeMethod(
      this, [ended = std::shared_ptr<DavClient>(client_.release())] {}, Qt::QueuedConnection);
  check_->setEnabled(true);
  if (books.failure == DavFailure::UntrustedCertificate && !books.certificate.empty()) {
    fingerprint_ = books.certificate;
    trust_->setText(QString::fromStdString(TrustText(fingerprint_)));
    trust_->setChecked(false);
    trust_->setVisible(true);
    result_->setText(QString::fromStdString(books.message +
                                            ". Wenn Sie dem Zertifikat trauen, kreuzen Sie es an und prüfen erneut."));
    return;
  }
  if (books.failure != DavFailure::None) return result_->setText(QString::fromStdString(books.message));
  if (books.collections.empty() && calendars.collections.empty())
    return result_->setText(
        QStringLiteral("Verbindung in Ordnung, aber auf dem Server ist weder ein Adressbuch noch ein Kalender"));
  Offer(*book_, books.collections);
  Offer(*calendar_, calendars.collections);
  result_->setText(QString::fromStdString(
      "Verbindung in Ordnung: " + Counted(books.collections.size(), "Adressbuch", "Adressbücher", "kein Adressbuch") +
      ", " + Counted(calendars.collections.size(), "Kalender", "Kalender", "kein Kalender für Termine") + " gefunden"));
}

void TDlgAbgleich::accept() {
  if (!ClearTextAccepted()) return;
  SyncSettings settings;
  settings.server = Trimmed(server_);
  settings.account = Typed();
  settings.book = book_->currentData().toString().toStdString();
  settings.calendar = calendar_->currentData().toString().toStdString();
  settings.intervalMinutes = interval_->value();
  if (!WriteSyncSettings(iniFile_, settings)) {
    ShowMessageBox({"Die Einstellungen des Abgleichs konnten nicht gespeichert werden:\r" + iniFile_, "Abgleich",
                    MbButtons::Ok, MbIcon::Error, MbResult::Ok, this});
    return;
  }
  QDialog::accept();
}

}  // namespace vesk
