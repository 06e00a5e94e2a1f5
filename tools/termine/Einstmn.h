// TFREinstellungen: the settings window of the reminder program. The user
// sets the lead time and the repeat interval in minutes; OK stores them in
// section Alarm of the host's INI file, from where the host hands them to
// alarm. The window always opens with alarm's defaults, 120 and 10, and
// tells the host after every close.
#pragma once

#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "tools/controls/IntEdit.h"

namespace vesk {

inline constexpr int32_t kDefaultVorwarnzeit = 120;
inline constexpr int32_t kDefaultAlarmwiederholung = 10;

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
  void BtnOKClick();
  void BtnCancelClick();
  void FormClose(TCloseAction& action);
};

}  // namespace vesk
