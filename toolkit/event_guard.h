// Runs an event handler of a window or control so that no exception escapes
// into Qt's event loop: a failure goes to the application's HandleException
// (its default error display) and the window stays as it is.
#pragma once

#include <exception>
#include <utility>

namespace vesk {

// Hands an exception caught at a control to the application.
void HandleEventException(std::exception_ptr error);

// True when the handler ran through without an exception.
template <typename Handler>
bool Guarded(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (...) {
    HandleEventException(std::current_exception());
    return false;
  }
}

}  // namespace vesk
