#include "tools/termine/Einstmn.h"

#include <string>

#include "platform/ini_file.h"
#include "toolkit/design_scale.h"
#include "toolkit/tab_order.h"
#include "tools/host_files.h"
#include "tools/host_notification.h"

namespace vesk {
namespace {

constexpr const char* kSection = "Alarm";
constexpr const char* kHintVorwarnzeit = "Wieviel Minuten vor dem Termin \r\nsoll Warnung angezeigt werden";
constexpr const char* kHintAlarmwiederholung = "Nach wieviel Minuten soll Alarm \r\nüberprüft bzw. wiederholt werden";

template <class TControl>
TControl* Place(TControl* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(name);
  SetDesignBounds(*control, left, top, width, height);
  return control;
}

}  // namespace

TFREinstellungen::TFREinstellungen() : TForm("TFREinstellungen", "Einstellungen") {
  BeginLoading();
  SetName("FREinstellungen");
  setFont(DesignFont("MS Sans Serif", 13));
  SetBorderStyle(bsDialog);
  SetClientSize(314, 91);

  Label1 = Place(new TLabel("Vorwarnzeit", this), "Label1", 16, 20, 120, 16);
  Label1->SetHint(kHintVorwarnzeit);
  Label2 = Place(new TLabel("Alarmwiederholung", this), "Label2", 16, 56, 120, 16);
  Label2->SetHint(kHintAlarmwiederholung);

  IEVorwarnzeit = Place(new TIntEdit(this), "IEVorwarnzeit", 144, 16, 29, 24);
  IEVorwarnzeit->setToolTip(QString::fromUtf8(kHintVorwarnzeit));
  IEVorwarnzeit->SetValue(kDefaultVorwarnzeit);
  IEAlarmwiederholung = Place(new TIntEdit(this), "IEAlarmwiederholung", 144, 52, 29, 24);
  IEAlarmwiederholung->setToolTip(QString::fromUtf8(kHintAlarmwiederholung));
  IEAlarmwiederholung->SetValue(kDefaultAlarmwiederholung);

  BtnOK = Place(new TButton("&OK", this), "BtnOK", 208, 12, 92, 30);
  BtnOK->OnClick = [this](TButton&) { BtnOKClick(); };
  BtnCancel = Place(new TButton("&Abbrechen", this), "BtnCancel", 208, 50, 92, 30);
  BtnCancel->OnClick = [this](TButton&) { BtnCancelClick(); };

  SetTabOrder(*BtnOK, 0);
  SetTabOrder(*BtnCancel, 1);
  SetTabOrder(*IEVorwarnzeit, 2);
  SetTabOrder(*IEAlarmwiederholung, 3);
  BtnOK->setFocus();

  OnClose = [this](TForm&, TCloseAction& action) { FormClose(action); };
  EndLoading();
}

void TFREinstellungen::BtnOKClick() {
  // The write results are not checked: the window closes either way.
  const std::string file = HostIniFile();
  ProfileWriteString(file, kSection, "Vorwarnzeit", std::to_string(IEVorwarnzeit->Value()));
  ProfileWriteString(file, kSection, "Alarmwiederholung", std::to_string(IEAlarmwiederholung->Value()));
  Close();
}

void TFREinstellungen::BtnCancelClick() { Close(); }

void TFREinstellungen::FormClose(TCloseAction& action) {
  action = caFree;
  NotifyHost(kWindowClosed);
}

}  // namespace vesk
