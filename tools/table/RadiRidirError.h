// ERadiRidirError: an engine call of the table layer failed. Its text is the
// engine's last error text, or a fixed text when the engine gives none.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/exceptions.h"

namespace vesk {

inline constexpr const char* kSUnexpectedEngineError = "Unexpected internal RadiRidir data handling error";

class ERadiRidirError : public Exception {
 public:
  using Exception::Exception;
};

// The table is open for writing in another window or program; the caller
// may wait for it.
class ETableInUse : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

// The engine's last error text for the handle (ordinal 55), possibly empty.
std::string EngineErrorText(int32_t handle);
// An ERadiRidirError for the last failure of the handle.
ERadiRidirError EngineError(int32_t handle);

}  // namespace vesk
