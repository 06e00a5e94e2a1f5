#include "tools/termine/Einstmn.h"

#include <string>

#include "platform/ini_file.h"
#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "toolkit/design_scale.h"
#include "toolkit/tab_order.h"
#include "tools/host_files.h"
#include "tools/host_notification.h"
#include "tools/settings/alarm_settings.h"

namespace vesk {
namespace {

constexpr int32_t kMaxMinutes = 1440;  // one day
constexpr const char* kHintVorwarnzeit = "Wieviel Minuten vor dem Termin \r\nsoll Warnung angezeigt werden";
constexpr const char* kHintAlarmwiederholung = "Nach wieviel Minuten soll Alarm \r\nüberprüft bzw. wiederholt werden";

}  // namespace

TFREinstellungen::TFREinstellungen() : TForm("TFREinstellungen", "Einstellungen") {
  const AlarmSettings stored = ReadAlarmSettings(HostIniFile());
  BeginLoading();
  SetName("FREinstellungen");
  setObjectName("FREinstellungen");
  setFont(DesignFont("MS Sans Serif", 13));
  SetBorderStyle(bsDialog);
  SetClientSize(314, 91);

  Label1 = Placed(new TLabel("Vorwarnzeit", this), "Label1", 16, 20, 120, 16);
  Label1->SetHint(kHintVorwarnzeit);
  Label2 = Placed(new TLabel("Alarmwiederholung", this), "Label2", 16, 56, 120, 16);
  Label2->SetHint(kHintAlarmwiederholung);

  IEVorwarnzeit = Placed(new TIntEdit(this), "IEVorwarnzeit", 144, 16, 29, 24);
  IEVorwarnzeit->setToolTip(QString::fromUtf8(kHintVorwarnzeit));
  IEVorwarnzeit->SetValue(stored.leadMinutes);
  IEAlarmwiederholung = Placed(new TIntEdit(this), "IEAlarmwiederholung", 144, 52, 29, 24);
  IEAlarmwiederholung->setToolTip(QString::fromUtf8(kHintAlarmwiederholung));
  IEAlarmwiederholung->SetValue(stored.repeatMinutes);

  BtnOK = Placed(new TButton("&OK", this), "BtnOK", 208, 12, 92, 30);
  BtnOK->OnClick = [this](TButton&) { BtnOKClick(); };
  BtnOK->SetDefault(true);
  BtnCancel = Placed(new TButton("&Abbrechen", this), "BtnCancel", 208, 50, 92, 30);
  BtnCancel->OnClick = [this](TButton&) { BtnCancelClick(); };
  BtnCancel->SetCancel(true);

  SetTabOrder(*BtnOK, 0);
  SetTabOrder(*BtnCancel, 1);
  SetTabOrder(*IEVorwarnzeit, 2);
  SetTabOrder(*IEAlarmwiederholung, 3);
  BtnOK->setFocus();

  OnClose = [this](TForm&, TCloseAction& action) { FormClose(action); };
  EndLoading();
}

int32_t TFREinstellungen::CheckedMinutes(TIntEdit& edit, const char* name, int32_t lowest, int32_t highest) {
  int32_t minutes = 0;
  if (TryStrToInt(edit.text().toStdString(), minutes) && minutes >= lowest && minutes <= highest) return minutes;
  edit.setFocus();
  edit.selectAll();
  throw Exception(
      FormatMessage("%s muss zwischen %s und %s Minuten liegen", {name, IntToStr(lowest), IntToStr(highest)}));
}

void TFREinstellungen::BtnOKClick() {
  const int32_t lead = CheckedMinutes(*IEVorwarnzeit, "Die Vorwarnzeit", 0, kMaxMinutes);
  const int32_t repeat = CheckedMinutes(*IEAlarmwiederholung, "Die Alarmwiederholung", 1, kMaxMinutes);
  // The write results are not checked: the window closes either way.
  const std::string file = HostIniFile();
  ProfileWriteString(file, kAlarmSection, kLeadMinutesKey, std::to_string(lead));
  ProfileWriteString(file, kAlarmSection, kRepeatMinutesKey, std::to_string(repeat));
  Close();
}

void TFREinstellungen::BtnCancelClick() { Close(); }

void TFREinstellungen::FormClose(TCloseAction& action) {
  action = caFree;
  NotifyHost(kWindowClosed);
}

}  // namespace vesk
