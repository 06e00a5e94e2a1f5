// The periodic check of today's reminder list: passed times are dropped
// without a word, due ones are asked about ("Termin", Yes keeps the reminder
// for the next check, No removes it). The list belongs to one day: the first
// check on a later day drops what is left and takes that day's list.
// After the machine slept or the clock jumped, the times that passed
// meanwhile without a question are named once ("Termin verpasst") before
// they go: the user never heard of them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

// The question's text for an appointment at the given time of day.
std::string ReminderQuestion(TDateTime time);
// The text naming the missed times, one line each.
std::string MissedReminders(const std::vector<TDateTime>& times);

class ReminderCheck {
 public:
  // reminderTimes: the list of the clock's current day.
  ReminderCheck(std::vector<TDateTime> reminderTimes, int32_t leadMinutes);

  // One check against the clock's time of day. A check started while an
  // earlier one still waits for an answer (the question's own event loop
  // delivers timer ticks) does nothing, so two checks never share the list.
  void CheckReminders();
  // The check after a resume or a jump of the clock: every time of the day
  // that passed since the last check (since midnight on a new day) and was
  // never asked is named in one box, then the check runs as above.
  void CheckAfterClockJump();
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
  void Check(bool clockJumped);
  // The box of the times that passed unasked after passedSince (ms of day).
  void NameMissed(int64_t passedSince);

  std::vector<TDateTime> reminderTimes_;
  std::vector<TDateTime> asked_;  // times of the day asked about
  TDateTime day_;
  TDateTime lastCheck_;  // when the last check began, or the program
  int32_t leadMinutes_;
  bool checking_ = false;
  bool stopped_ = false;
};

}  // namespace vesk
