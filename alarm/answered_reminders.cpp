#include "alarm/answered_reminders.h"

#include <algorithm>

#include "alarm/VeskProc.h"
#include "platform/ini_document.h"
#include "platform/ini_file.h"
#include "runtime/file_io.h"

namespace vesk {
namespace {

// Times are the same reminder when they agree to the millisecond.
int32_t MSecsOf(TDateTime time) { return DateTimeToTimeStamp(time).time; }

}  // namespace

AnsweredReminders::AnsweredReminders(std::string file) : file_(std::move(file)) {}

std::vector<TDateTime> AnsweredReminders::Of(TDateTime day) const {
  std::vector<TDateTime> times;
  for (const auto& [key, value] : ProfileReadSection(file_, DateToStr(day))) {
    TDateTime time = 0;
    if (TryStrToTime(value, time)) times.push_back(time);
  }
  return times;
}

bool AnsweredReminders::Add(TDateTime day, TDateTime time) {
  std::vector<TDateTime> times = Of(day);
  times.push_back(time);
  // Written anew from the day's answers alone: an earlier day's go with it.
  IniDocument document("");
  const std::string section = DateToStr(day);
  for (size_t i = 0; i < times.size(); ++i) document.SetValue(section, std::to_string(i), TimeToStr(times[i]));
  return WriteFileAtomically(file_, document.Text());
}

std::vector<TDateTime> Unanswered(const std::vector<TDateTime>& times, const std::vector<TDateTime>& answered) {
  std::vector<int32_t> left;
  for (TDateTime time : answered) left.push_back(MSecsOf(time));
  std::vector<TDateTime> result;
  for (TDateTime time : times) {
    auto match = std::find(left.begin(), left.end(), MSecsOf(time));
    if (match == left.end()) {
      result.push_back(time);
    } else {
      left.erase(match);
    }
  }
  return result;
}

std::vector<TDateTime> TodaysReminders(const std::string& listFile, const AnsweredReminders& answered) {
  return Unanswered(LoadReminders(listFile), answered.Of(Date()));
}

}  // namespace vesk
