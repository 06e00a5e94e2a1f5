// Shared pieces of the forms tests: errors and message boxes caught for the
// length of a test, and the events waited for.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace vesk {

// While it lives, the application's error display and every message box
// write to these lists; boxes answer `answer`.
class CaughtMessages {
 public:
  explicit CaughtMessages(MbResult answer = MbResult::Yes);
  ~CaughtMessages();
  CaughtMessages(const CaughtMessages&) = delete;
  CaughtMessages& operator=(const CaughtMessages&) = delete;

  void SetAnswer(MbResult answer) { answer_ = answer; }

  std::vector<std::string> errors;
  std::vector<MessageBoxRequest> boxes;

 private:
  MbResult answer_;
};

// Lets queued events (deferred frees, posted messages) run.
void ProcessEvents();

}  // namespace vesk
