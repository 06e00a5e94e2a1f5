// What a control's loss of the focus means for its input: another window
// (a message box, another program) or a popup takes the focus only for a
// while, and the control's pending input waits; any other reason moves the
// focus to another control, and the input is due.
#pragma once

#include <Qt>

namespace vesk {

inline bool FocusMovesToAnotherControl(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace vesk
