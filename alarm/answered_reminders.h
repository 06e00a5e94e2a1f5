// The reminders answered "Nein" today, kept in a small file of the reminder
// program (alarm.sav in the program folder) so that a restart on the same
// day does not ask them again. The file holds one day: a section named by
// the day's short date with one key per answer and the time of day in the
// long time format as its value. termine.sav stays untouched.
#pragma once

#include <string>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

class AnsweredReminders {
 public:
  explicit AnsweredReminders(std::string file);

  // The times answered on the day (a date without time); nothing when the
  // file is missing or holds another day. Values that are no time are left out.
  std::vector<TDateTime> Of(TDateTime day) const;
  // Adds an answer of the day and replaces the file atomically; a file of
  // another day gives way to this day's answers. False when it cannot be written.
  bool Add(TDateTime day, TDateTime time);

 private:
  std::string file_;
};

// The times without the answered ones, order kept; each answered time stands
// for one entry, so of two appointments at the same time one answer skips one.
std::vector<TDateTime> Unanswered(const std::vector<TDateTime>& times, const std::vector<TDateTime>& answered);

// The day's list as the program works with it: today's section of the
// reminder list without the reminders answered today. Raises EConvertError
// for a value of the list that is no time.
std::vector<TDateTime> TodaysReminders(const std::string& listFile, const AnsweredReminders& answered);

}  // namespace vesk
