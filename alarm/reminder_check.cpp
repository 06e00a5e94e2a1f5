#include "alarm/reminder_check.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "platform/message_box.h"
#include "runtime/format_settings.h"

namespace vesk {
namespace {

// Yes: the user wants to be asked again.
bool AskAgainLater(TDateTime time) {
  MessageBoxRequest request;
  request.text = ReminderQuestion(time);
  request.caption = "Termin";
  request.buttons = MbButtons::YesNo;
  request.icon = MbIcon::Question;
  return ShowMessageBox(request) == MbResult::Yes;
}

// Times compared as whole milliseconds of the day. In fractions of a day,
// T - lead / 1440 often rounds to a little after the moment it means, and a
// check at exactly that moment would not ask.
int64_t MSecsOfDay(TDateTime time) { return std::llround(time * kMSecsPerDay); }

// Marks a check as running for as long as it lives, also when a step throws.
class RunningCheck {
 public:
  explicit RunningCheck(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningCheck() { flag_ = false; }
  RunningCheck(const RunningCheck&) = delete;
  RunningCheck& operator=(const RunningCheck&) = delete;

 private:
  bool& flag_;
};

}  // namespace

std::string MissedReminders(const std::vector<TDateTime>& times) {
  std::string text;
  for (TDateTime time : times) {
    if (!text.empty()) text += '\r';
    text += "Sie hatten einen Termin um " + FormatDateTime(GetFormatSettings().shortTimeFormat, time);
  }
  return text;
}

std::string ReminderQuestion(TDateTime time) {
  return "\r  Sie haben einen Termin um " + TimeToStr(time) + "\r\rSoll die Erinnerung wiederholt werden ?\r";
}

ReminderCheck::ReminderCheck(std::vector<TDateTime> reminderTimes, int32_t leadMinutes)
    : reminderTimes_(std::move(reminderTimes)), day_(Date()), lastCheck_(Now()), leadMinutes_(leadMinutes) {}

void ReminderCheck::StartNewDay() {
  day_ = Date();
  reminderTimes_.clear();
  asked_.clear();
  if (!OnNewDay) return;
  try {
    reminderTimes_ = OnNewDay();
  } catch (const std::exception& error) {
    ShowMessage(error.what(), "Alarm", MbIcon::Error);
  }
}

void ReminderCheck::CheckReminders() { Check(false); }

void ReminderCheck::CheckAfterClockJump() { Check(true); }

void ReminderCheck::Check(bool clockJumped) {
  if (checking_ || stopped_) return;
  RunningCheck running(checking_);
  const TDateTime previous = lastCheck_;
  lastCheck_ = Now();
  // On a new day everything since its midnight passed after the last check.
  int64_t passedSince = MSecsOfDay(previous - std::floor(previous));
  if (Date() != day_) {
    StartNewDay();
    passedSince = 0;
  }
  if (clockJumped) NameMissed(passedSince);
  // Positions of entries to remove, ascending; any number of them.
  std::vector<size_t> removals;
  const int64_t lead = int64_t{leadMinutes_} * 60000;
  for (size_t i = 0; i < reminderTimes_.size(); ++i) {
    const TDateTime appointment = reminderTimes_[i];
    if (MSecsOfDay(appointment) < MSecsOfDay(Time())) {
      removals.push_back(i);
      continue;
    }
    if (MSecsOfDay(appointment) - lead > MSecsOfDay(Time())) continue;
    asked_.push_back(appointment);
    const bool again = AskAgainLater(appointment);
    if (stopped_) return;
    if (again) continue;
    removals.push_back(i);
    if (OnAnsweredNo) OnAnsweredNo(day_, appointment);
  }
  for (auto position = removals.rbegin(); position != removals.rend(); ++position) {
    reminderTimes_.erase(reminderTimes_.begin() + static_cast<std::ptrdiff_t>(*position));
  }
}

void ReminderCheck::NameMissed(int64_t passedSince) {
  std::vector<TDateTime> missed;
  std::vector<TDateTime> asked = asked_;
  for (TDateTime appointment : reminderTimes_) {
    const int64_t at = MSecsOfDay(appointment);
    if (at >= MSecsOfDay(Time()) || at < passedSince) continue;
    // Each question stands for one entry, as two appointments may share a time.
    auto question = std::find(asked.begin(), asked.end(), appointment);
    if (question != asked.end()) {
      asked.erase(question);
      continue;
    }
    missed.push_back(appointment);
  }
  if (missed.empty()) return;
  std::sort(missed.begin(), missed.end());
  ShowMessage(MissedReminders(missed), "Termin verpasst", MbIcon::Warning);
}

}  // namespace vesk
