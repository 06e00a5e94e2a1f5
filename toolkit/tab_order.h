// Tab order of the controls of one container: each control gets its
// number, and Tab visits the numbered controls of a parent in that order.
#pragma once

class QWidget;

namespace vesk {

// Numbers the control and chains its numbered siblings by number.
void SetTabOrder(QWidget& control, int order);

}  // namespace vesk
