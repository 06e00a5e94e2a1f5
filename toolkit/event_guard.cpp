#include "toolkit/event_guard.h"

#include "runtime/exceptions.h"
#include "toolkit/application.h"

namespace vesk {

void HandleEventException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    Application().HandleException(e);
  } catch (...) {
    Application().HandleException(Exception("Unbekannter Fehler"));
  }
}

}  // namespace vesk
