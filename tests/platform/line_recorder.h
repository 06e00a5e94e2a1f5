// The notifications a test's line application receives, in order, with what
// the notification routine does on the states that need an answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/telephony/telephony.h"

namespace vesk {

struct Notification {
  uint32_t device;
  uint32_t message;
  intptr_t param1;
  intptr_t param2;
  friend bool operator==(const Notification&, const Notification&) = default;
};

struct LineRecorder {
  static inline std::vector<Notification> received;
  static inline std::string appName;     // from the call information when connected
  static inline int32_t dropResult = 0;  // of the lineDrop after a disconnect

  static void Clear() {
    received.clear();
    appName.clear();
    dropResult = 0;
  }
  // Answers as the address window does: asks who answered, drops a call
  // that was disconnected and releases an idle one.
  static void Callback(uint32_t device, uint32_t message, uintptr_t, intptr_t param1, intptr_t param2, intptr_t) {
    received.push_back({device, message, param1, param2});
    if (message != LINE_CALLSTATE) return;
    if (param1 == LINECALLSTATE_CONNECTED) {
      LineCallInfo info;
      if (lineGetCallInfo(device, &info) == 0) appName = info.appName;
    } else if (param1 == LINECALLSTATE_DISCONNECTED) {
      dropResult = lineDrop(device, nullptr, 0);
    } else if (param1 == LINECALLSTATE_IDLE) {
      lineDeallocateCall(device);
    }
  }
  // The call states received, as LINECALLSTATE_ values.
  static std::vector<intptr_t> States() {
    std::vector<intptr_t> states;
    for (const Notification& n : received) {
      if (n.message == LINE_CALLSTATE) states.push_back(n.param1);
    }
    return states;
  }
};

}  // namespace vesk
