// The periodic check of today's reminder list: passed times are dropped
// without a word, due ones are asked about ("Termin", Yes keeps the reminder
// for the next check, No removes it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

// The question's text for an appointment at the given time of day.
std::string ReminderQuestion(TDateTime time);

class ReminderCheck {
 public:
  ReminderCheck(std::vector<TDateTime> reminderTimes, int32_t leadMinutes);

  // One check against the clock's time of day. A check started while an
  // earlier one still waits for an answer (the question's own event loop
  // delivers timer ticks) does nothing, so two checks never share the list.
  void CheckReminders();
  // The program quits: a check waiting for an answer asks nothing more and
  // leaves the list as it is.
  void Stop() { stopped_ = true; }

  const std::vector<TDateTime>& ReminderTimes() const { return reminderTimes_; }

 private:
  std::vector<TDateTime> reminderTimes_;
  int32_t leadMinutes_;
  bool checking_ = false;
  bool stopped_ = false;
};

}  // namespace vesk
