// The base of the reminder check tests: a clock and a user who answers the
// questions, both set by the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "runtime/datetime.h"

namespace vesk {

inline TDateTime At(int hour, int minute) { return EncodeTime(hour, minute, 0, 0); }

class ClockAndUser : public testing::Test {
 protected:
  ClockAndUser() {
    SetClockForTesting([this] { return day_ + now_; });
    SetMessageBoxHook([this](const MessageBoxRequest& request) {
      questions_.push_back(request);
      if (during_) during_();
      if (answers_.empty()) return MbResult::Yes;
      MbResult answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
  }
  ~ClockAndUser() override {
    SetMessageBoxHook({});
    SetClockForTesting({});
  }

  // The times the questions asked about, as the question texts name them.
  std::vector<std::string> Asked() const {
    std::vector<std::string> times;
    for (const MessageBoxRequest& question : questions_) {
      const std::string lead = "\r  Sie haben einen Termin um ";
      times.push_back(question.text.substr(lead.size(), 8));
    }
    return times;
  }

  TDateTime day_ = EncodeDate(2026, 12, 9);
  TDateTime now_ = 0;
  std::vector<MessageBoxRequest> questions_;  // also other boxes, as they were shown
  std::deque<MbResult> answers_;
  std::function<void()> during_;  // runs while a question is open
};

}  // namespace vesk
