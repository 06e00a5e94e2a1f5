// The notification that a window of the library closed: "VeskTools" posted
// to the host's main window.
#pragma once

#include <cstdint>

namespace vesk {

// wParam of the notification.
inline constexpr uintptr_t kWindowClosed = 0;
inline constexpr uintptr_t kReminderListWritten = 1;

// Posts VeskToolsMessage with wParam and lParam 0 to the window of class
// "TFRVeskTools" and caption "Tools", looked up anew at each call. Without
// such a window nothing happens and nothing is reported.
void NotifyHost(uintptr_t wParam);

}  // namespace vesk
