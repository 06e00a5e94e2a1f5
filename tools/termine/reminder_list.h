// The reminder list termine.sav, which the appointments window writes for the
// reminder program: one section per appointment date (short date format),
// running keys 0, 1, 2, ... over the whole file, each holding one reminder
// time (long time format).
#pragma once

#include <string>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

class TRadiRidir;

struct ReminderEntry {
  TDateTime date;  // the appointment's day; a time part is ignored
  TDateTime time;  // its time of day; a date part is ignored
};

// Today's and later appointments of the open appointments table, in the
// order it is in (the list wants date and time order); a pending edit is
// posted or cancelled, and the table is left filtered on them.
std::vector<ReminderEntry> UpcomingReminders(TRadiRidir& table);

// termine.sav in the program folder; raises vesk::Exception when the folder
// cannot be made.
std::string ReminderListPath();

// The file's text for the entries in this order: a date met again later
// adds its key to the section already written.
std::string ReminderListText(const std::vector<ReminderEntry>& entries);

// Replaces the file by the list in one step (a temporary file renamed over
// it); no entries remove it. False when that fails: the previous file then
// stands as it was, never half written or missing.
bool SaveReminderList(const std::string& path, const std::vector<ReminderEntry>& entries);

}  // namespace vesk
