#include "tools/table/RadiRidirError.h"

#include "engine/radiridir.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {

std::string EngineErrorText(int32_t handle) {
  uint8_t text[256] = {};
  rr_last_error(text, handle, 1);
  return FromEngineText(text);
}

ERadiRidirError EngineError(int32_t handle) {
  std::string text = EngineErrorText(handle);
  return ERadiRidirError(text.empty() ? kSUnexpectedEngineError : std::move(text));
}

}  // namespace vesk
