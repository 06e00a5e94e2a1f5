#include "toolkit/db_navigator.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "toolkit/data/dataset.h"
#include "toolkit/delete_question.h"
#include "toolkit/event_guard.h"

namespace vesk {

namespace {

struct ButtonLook {
  const char* symbol;
  const char* hint;
};

constexpr std::array<ButtonLook, kNavigateButtons> kLooks = {{
    {"|◀", "Erster Datensatz"},
    {"◀", "Vorheriger Datensatz"},
    {"▶", "Nächster Datensatz"},
    {"▶|", "Letzter Datensatz"},
    {"+", "Datensatz einfügen"},
    {"−", "Datensatz löschen"},
    {"▲", "Datensatz bearbeiten"},
    {"✓", "Bearbeitung speichern"},
    {"✗", "Bearbeitung abbrechen"},
    {"↻", "Daten aktualisieren"},
}};

}  // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int i = 0; i < kNavigateButtons; ++i) {
    auto* button = new QToolButton(this);
    button->setText(QString::fromUtf8(kLooks[i].symbol));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setFocusPolicy(Qt::NoFocus);
    const auto which = static_cast<TNavigateBtn>(i);
    connect(button, &QToolButton::clicked, this, [this, which] { BtnClick(which); });
    layout->addWidget(button);
    buttons_[i] = button;
  }
  UpdateButtons();
}

TDBNavigator::~TDBNavigator() = default;

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
  visible_ = buttons & kAllNavButtons;
  for (int i = 0; i < kNavigateButtons; ++i) buttons_[i]->setVisible((visible_ & (1u << i)) != 0);
}

void TDBNavigator::SetShowHint(bool on) {
  showHint_ = on;
  for (int i = 0; i < kNavigateButtons; ++i)
    buttons_[i]->setToolTip(on ? QString::fromUtf8(kLooks[i].hint) : QString());
}

void TDBNavigator::UpdateButtons() {
  const TDataSet* dataset = link_.Active() ? link_.DataSet() : nullptr;
  const bool active = dataset != nullptr;
  const bool up = active && !dataset->Bof();
  const bool down = active && !dataset->Eof();
  const bool canModify = active && dataset->CanModify();
  const bool editing = link_.Editing();
  const std::array<bool, kNavigateButtons> enabled = {
      up,
      up,
      down,
      down,
      canModify,
      canModify && !(dataset->Bof() && dataset->Eof()),
      canModify && !editing,
      canModify && editing,
      canModify && editing,
      active && !editing,
  };
  for (int i = 0; i < kNavigateButtons; ++i) buttons_[i]->setEnabled(enabled[i]);
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
  if (!link_.Active() || !buttons_[button]->isEnabled()) return;
  Guarded([&] {
    if (BeforeAction) BeforeAction(*this, button);
    Act(button);
    if (OnClick) OnClick(*this, button);
  });
}

void TDBNavigator::Act(TNavigateBtn button) {
  TDataSet& dataset = *link_.DataSet();
  switch (button) {
    case nbFirst: dataset.First(); break;
    case nbPrior: dataset.Prior(); break;
    case nbNext: dataset.Next(); break;
    case nbLast: dataset.Last(); break;
    case nbInsert: dataset.Insert(); break;
    case nbDelete: {
      if (!confirmDelete_ || AskDeleteRecord()) dataset.Delete();
      break;
    }
    case nbEdit: dataset.Edit(); break;
    case nbPost: dataset.Post(); break;
    case nbCancel: dataset.Cancel(); break;
    case nbRefresh: dataset.Refresh(); break;
  }
}

}  // namespace vesk
