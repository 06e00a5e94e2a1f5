#include "host/host_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

#include "host/address_sync_schedule.h"
#include "host/alarm_status.h"
#include "host/autostart.h"
#include "host/exchange_buttons.h"
#include "host/sync_dialog.h"
#include "host/telephone_dialog.h"
#include "host/tools_library.h"
#include "toolkit/button.h"
#include "toolkit/design_scale.h"
#include "toolkit/status_bar.h"
#include "tools/host_files.h"
#include "tools/host_notification.h"

namespace vesk {
namespace {

// Room around the status text: the layout's margins and the panel's frame.
constexpr int kDesignStatusMargin = 40;

}  // namespace

TFRVeskTools::TFRVeskTools(ToolsLibrary& library, uint16_t veskToolsMessage)
    : TForm("TFRVeskTools", "Tools"), statusBar_(new TStatusBar(this)) {
  auto* buttons = new QHBoxLayout;
  for (const ToolsExport& entry : kToolsExports) {
    auto* button = new TButton(entry.caption, this);
    button->setObjectName(entry.caption);
    if (ToolsLibrary::EntryPoint execute = library.Resolve(entry.name)) {
      button->OnClick = [execute](TButton&) { execute(); };
    } else {
      button->setEnabled(false);
      button->setToolTip(QStringLiteral("Kommt in einer späteren Version"));
    }
    buttons->addWidget(button);
  }
  // The host's own buttons in a second row: the accounts, the exchange
  // formats and the sync.
  auto* own = new QHBoxLayout;
  auto* telephone = new TButton("Telefon…", this);
  telephone->setObjectName("Telefon…");
  telephone->OnClick = [this](TButton&) { TDlgTelefon(HostIniFile(), this).exec(); };
  own->addWidget(telephone);
  AddExchangeButtons(*own, *this);
  auto* account = new TButton("Abgleich…", this);
  account->setObjectName("Abgleich…");
  account->OnClick = [this](TButton&) {
    if (TDlgAbgleich(HostIniFile(), this).exec() == QDialog::Accepted) addressSync_->SettingsChanged();
  };
  own->addWidget(account);
  addressSync_ = std::make_unique<AddressSyncSchedule>(*own, *this);
  statusBar_->SetSimplePanel(true);
  // A long text is cut, not followed by the window's width; the tooltip holds all of it.
  QSizePolicy policy = statusBar_->sizePolicy();
  policy.setHorizontalPolicy(QSizePolicy::Ignored);
  statusBar_->setSizePolicy(policy);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addLayout(own);
  layout->addWidget(NewAutostartBox(this));
  layout->addWidget(statusBar_);
  // Sized before it is placed, so that the centring holds.
  ensurePolished();
  layout->activate();
  // Wide enough for the usual status text, the one of alarm with its defaults.
  const int statusWidth =
      fontMetrics().horizontalAdvance(QString::fromStdString(AlarmRunningText({}))) + Scale(kDesignStatusMargin);
  resize(std::max(statusWidth, minimumSizeHint().width()), minimumSizeHint().height());
  SetPosition(poScreenCenter);
  OnMessage = [this, veskToolsMessage](uint16_t message, uintptr_t wParam, intptr_t) {
    if (message == veskToolsMessage) Notified(wParam);
  };
}

TFRVeskTools::~TFRVeskTools() = default;

TButton* TFRVeskTools::Button(const std::string& caption) const {
  return findChild<TButton*>(QString::fromStdString(caption));
}

std::string TFRVeskTools::StatusText() const { return statusBar_->SimpleText(); }

void TFRVeskTools::SetStatusText(std::string text) {
  statusBar_->setToolTip(QString::fromStdString(text));
  statusBar_->SetSimpleText(std::move(text));
}

void TFRVeskTools::Notified(uintptr_t wParam) {
  if (wParam == kWindowClosed) {
    SetStatusText("Ein Fenster wurde geschlossen");
  } else if (wParam == kReminderListWritten) {
    SetStatusText("Terminliste neu geschrieben");
  } else {
    SetStatusText("Unbekannte Meldung der Bibliothek: " + std::to_string(wParam));
  }
  if (OnVeskTools) OnVeskTools(wParam);
  // A window closed and may have held a table a sync waits for; the
  // appointment window tells its closing by the list it wrote.
  if (wParam == kWindowClosed || wParam == kReminderListWritten) addressSync_->WindowClosed();
}

void TFRVeskTools::ReminderListRewritten() {
  SetStatusText("Terminliste neu geschrieben");
  if (OnVeskTools) OnVeskTools(kReminderListWritten);
}

}  // namespace vesk
