#include "toolkit/delete_question.h"

#include <string>

#include "platform/message_box.h"
#include "toolkit/application.h"

namespace vesk {

bool AskDeleteRecord() {
  const MessageBoxRequest question{std::string(kSDeleteRecordQuestion), Application().Title(), MbButtons::YesNo,
                                   MbIcon::Question, MbResult::Yes};
  return ShowMessageBox(question) == MbResult::Yes;
}

}  // namespace vesk
