#include "host/telephone_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>
#include <vector>

#include "host/dialog_form.h"
#include "platform/message_box.h"
#include "platform/telephony/sip_account.h"
#include "platform/telephony/sound_devices.h"

namespace vesk {
namespace {

// The devices of a direction, each holding its id: first the system's
// default, which stands for no choice, then each device. A stored device
// that is not there is listed as well, so the user sees why the default
// speaks instead and can choose another.
QComboBox* DeviceBox(SoundDirection direction, const std::string& stored, const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  const std::vector<SoundDevice> devices = ListSoundDevices(direction);
  auto standard = std::find_if(devices.begin(), devices.end(), [](const SoundDevice& d) { return d.isDefault; });
  const std::string standardName = standard == devices.end() ? "keines" : standard->name;
  box->addItem(QString::fromStdString("Standard (" + standardName + ")"), QString());
  for (const SoundDevice& device : devices) {
    box->addItem(QString::fromStdString(device.name), QString::fromStdString(device.id));
  }
  const QString id = QString::fromStdString(stored);
  if (box->findData(id) < 0) box->addItem(QString::fromStdString(stored + " (nicht vorhanden)"), id);
  box->setCurrentIndex(box->findData(id));
  return box;
}

std::string Id(const QComboBox* box) { return box->currentData().toString().toStdString(); }

}  // namespace

TDlgTelefon::TDlgTelefon(std::string iniFile, QWidget* parent) : QDialog(parent), iniFile_(std::move(iniFile)) {
  const SipAccount account = ReadSipAccount(iniFile_);
  setWindowTitle(QStringLiteral("Telefon"));
  identity_ = FormEdit(account.identity, "Identitaet", "sip:max@fritz.box", this);
  registrar_ = FormEdit(account.registrar, "Registrar", "sip:fritz.box", this);
  user_ = FormEdit(account.user, "Benutzer", "", this);
  password_ = FormEdit(account.password, "Passwort", "", this);
  password_->setEchoMode(QLineEdit::Password);
  transport_ = new QComboBox(this);
  transport_->setObjectName("Transport");
  transport_->addItems({"udp", "tcp", "tls"});
  transport_->setCurrentText(QString::fromStdString(account.transport));
  proxy_ = FormEdit(account.proxy, "Proxy", "(keiner)", this);
  register_ = new QCheckBox(QStringLiteral("Beim Registrar anmelden"), this);
  register_->setObjectName("Registrieren");
  register_->setChecked(account.registerFirst);
  microphone_ = DeviceBox(SoundDirection::Capture, account.microphone, "Mikrofon", this);
  speaker_ = DeviceBox(SoundDirection::Playback, account.speaker, "Lautsprecher", this);

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("SIP-Identität"), identity_);
  form->addRow(QStringLiteral("Registrar"), registrar_);
  form->addRow(QStringLiteral("Benutzername"), user_);
  form->addRow(QStringLiteral("Kennwort"), password_);
  form->addRow(QStringLiteral("Transport"), transport_);
  form->addRow(QStringLiteral("Ausgehender Proxy"), proxy_);
  form->addRow(register_);
  form->addRow(QStringLiteral("Mikrofon"), microphone_);
  form->addRow(QStringLiteral("Lautsprecher"), speaker_);
  AddOkAndCancel(*form, *this);
}

void TDlgTelefon::accept() {
  SipAccount account;
  account.identity = Trimmed(identity_);
  account.registrar = Trimmed(registrar_);
  account.user = Trimmed(user_);
  account.password = password_->text().toStdString();
  account.transport = transport_->currentText().toStdString();
  account.proxy = Trimmed(proxy_);
  account.registerFirst = register_->isChecked();
  account.microphone = Id(microphone_);
  account.speaker = Id(speaker_);
  if (!WriteSipAccount(iniFile_, account)) {
    ShowMessageBox({"Die Telefon-Einstellungen konnten nicht gespeichert werden:\r" + iniFile_, "Telefon",
                    MbButtons::Ok, MbIcon::Error, MbResult::Ok, this});
    return;
  }
  QDialog::accept();
}

}  // namespace vesk
