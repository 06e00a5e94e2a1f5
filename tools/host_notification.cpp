#include "tools/host_notification.h"

#include <optional>

#include "platform/window_messages.h"
#include "tools/VeskMsg.h"

namespace vesk {

void NotifyHost(uintptr_t wParam) {
  if (std::optional<WindowHandle> host = FindWindow("TFRVeskTools", "Tools")) {
    PostMessage(*host, VeskToolsMessage, wParam, 0);
  }
}

}  // namespace vesk
