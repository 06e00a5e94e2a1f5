// A telephone line opened as the address window opens it: initialise,
// negotiate the version for device 0, open the line mapper for voice calls.
#pragma once

#include "platform/telephony/telephony.h"

namespace vesk {

// The line, or 0 when a step failed or there is no line device.
inline HLine OpenVoiceLine(HLineApp& app, LineCallback callback) {
  uint32_t devices = 0;
  uint32_t version = 0;
  LineExtensionId extension;
  LineCallParams params;
  HLine line = 0;
  if (lineInitialize(&app, nullptr, callback, nullptr, &devices) != 0 || devices == 0 ||
      lineNegotiateAPIVersion(app, 0, 0x00010000, 0x10000000, &version, &extension) != 0 ||
      lineOpen(app, LINEMAPPER, &line, version, 0, 0, LINECALLPRIVILEGE_NONE, 0, &params) != 0) {
    return 0;
  }
  return line;
}

}  // namespace vesk
