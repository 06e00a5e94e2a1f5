// Tells the user why a key or a paste did not change a control: the system
// beep, and the reason as a tooltip under the control, so that no input is
// dropped without a sign.
#pragma once

#include <string_view>

class QWidget;

namespace vesk {

void ShowInputHint(QWidget& control, std::string_view reason);

}  // namespace vesk
