#include "toolkit/application.h"

#include "platform/message_box.h"

namespace vesk {

void TApplication::HandleException(const std::exception& error) {
  if (OnException) {
    OnException(error);
    return;
  }
  ShowMessage(error.what(), title_, MbIcon::Error);
}

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace vesk
