#include "host/running_host.h"

#include "host/host_window.h"
#include "platform/registered_messages.h"
#include "platform/window_messages.h"

namespace vesk {
namespace {

constexpr char kOpenHostMessageName[] = "VeskToolsOeffnen";

}  // namespace

bool HandOverToRunningHost(bool minimized) {
  const std::optional<WindowHandle> running = FindWindow("TFRVeskTools", "Tools");
  if (!running) return false;
  if (!minimized) PostMessage(*running, RegisterWindowMessage(kOpenHostMessageName), 0, 0);
  return true;
}

void OpenOnRequest(TFRVeskTools& window) {
  const uint16_t open = RegisterWindowMessage(kOpenHostMessageName);
  window.OnMessage = [&window, open, others = window.OnMessage](uint16_t message, uintptr_t wParam,
                                                                 intptr_t lParam) {
    if (open != 0 && message == open) {
      window.Show();
    } else if (others) {
      others(message, wParam, lParam);
    }
  };
}

}  // namespace vesk
