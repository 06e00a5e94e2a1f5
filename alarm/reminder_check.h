// The periodic check of today's reminder list: passed times are dropped
// without a word, due ones are asked about ("Termin", Yes keeps the reminder
// for the next check, No removes it). The list belongs to one day: the first
// check on a later day drops what is left and takes that day's list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

// The question's text for an appointment at the given time of day.
std::string ReminderQuestion(TDateTime time);

class ReminderCheck {
 public:
  // reminderTimes: the list of the clock's current day.
  ReminderCheck(std::vector<TDateTime> reminderTimes, int32_t leadMinutes);

  // One check against the clock's time of day. A check started while an
  // earlier one still waits for an answer (the question's own event loop
  // delivers timer ticks) does nothing, so two checks never share the list.
  void CheckReminders();
  // The program quits: a check waiting for an answer asks nothing more and
  // leaves the list as it is.
  void Stop() { stopped_ = true; }

  const std::vector<TDateTime>& ReminderTimes() const { return reminderTimes_; }

  // The list of a new day, read at its first check; without it the day has
  // none. A failure is shown and leaves the day without reminders.
  std::function<std::vector<TDateTime>()> OnNewDay;
  // An entry of the day was answered No.
  std::function<void(TDateTime day, TDateTime time)> OnAnsweredNo;

 private:
  void StartNewDay();

  std::vector<TDateTime> reminderTimes_;
  TDateTime day_;
  int32_t leadMinutes_;
  bool checking_ = false;
  bool stopped_ = false;
};

}  // namespace vesk
