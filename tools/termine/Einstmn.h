// TFREinstellungen: the settings window of the reminder program. It opens
// with the lead time and repeat interval stored in section Alarm of the
// host's INI file (the defaults of AlarmSettings when none are stored); OK
// (Enter) stores them there, from where the host hands them to alarm, and
// refuses values outside their range; Abbrechen (Esc) writes nothing. The
// host is told after every close.
#pragma once

#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "tools/controls/IntEdit.h"

namespace vesk {

class TFREinstellungen : public TForm {
 public:
  TFREinstellungen();

  TLabel* Label1;
  TLabel* Label2;
  TIntEdit* IEVorwarnzeit;
  TIntEdit* IEAlarmwiederholung;
  TButton* BtnOK;
  TButton* BtnCancel;

 private:
  // Raises, with the focus on the field, when the text is no whole number
  // of minutes from lowest to highest.
  static int32_t CheckedMinutes(TIntEdit& edit, const char* name, int32_t lowest, int32_t highest);
  void BtnOKClick();
  void BtnCancelClick();
  void FormClose(TCloseAction& action);
};

}  // namespace vesk
