#include "host/running_host.h"

#include "host/host_window.h"
#include "platform/message_box.h"
#include "platform/posted_text.h"
#include "platform/registered_messages.h"
#include "platform/window_messages.h"

namespace vesk {
namespace {

constexpr char kOpenHostMessageName[] = "VeskToolsOeffnen";
constexpr char kDialMessageName[] = "VeskToolsWaehlen";

std::optional<WindowHandle> RunningHost() { return FindWindow("TFRVeskTools", "Tools"); }

}  // namespace

bool HandOverToRunningHost(bool minimized) {
  const std::optional<WindowHandle> running = RunningHost();
  if (!running) return false;
  if (!minimized) PostMessage(*running, RegisterWindowMessage(kOpenHostMessageName), 0, 0);
  return true;
}

bool HandDialOverToRunningHost(const std::string& callee) {
  const std::optional<WindowHandle> running = RunningHost();
  if (!running) return false;
  const uint16_t dial = RegisterWindowMessage(kDialMessageName);
  if (dial == 0 || !PostText(*running, dial, callee)) {
    ShowMessage("Das laufende Tools lässt sich nicht bitten, " + callee + " zu wählen", "Tools", MbIcon::Error);
  }
  return true;
}

void OpenOnRequest(TFRVeskTools& window, std::function<void(const std::string& callee)> dial) {
  const uint16_t open = RegisterWindowMessage(kOpenHostMessageName);
  const uint16_t dialMessage = RegisterWindowMessage(kDialMessageName);
  window.OnMessage = [&window, open, dialMessage, dial = std::move(dial), others = window.OnMessage](
                         uint16_t message, uintptr_t wParam, intptr_t lParam) {
    if (open != 0 && message == open) {
      window.Show();
    } else if (dialMessage != 0 && message == dialMessage) {
      // A key whose text is gone or refused dials nothing.
      if (const std::optional<std::string> callee = TakePostedText(wParam); callee && dial) dial(*callee);
    } else if (others) {
      others(message, wParam, lParam);
    }
  };
}

}  // namespace vesk
