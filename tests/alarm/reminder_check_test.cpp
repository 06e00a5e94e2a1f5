#include <gtest/gtest.h>

#include <climits>

#include "alarm/reminder_check.h"
#include "tests/alarm/clock_and_user.h"

namespace vesk {
namespace {

using ReminderChecks = ClockAndUser;

TEST_F(ReminderChecks, AskedFromTheLeadTimeOnUntilTheAppointmentPasses) {
  ReminderCheck check({At(14, 0)}, 120);
  std::vector<int> askedAt;
  for (int minute = 11 * 60 + 40; minute <= 14 * 60 + 20; minute += 10) {
    now_ = At(minute / 60, minute % 60);
    const size_t before = questions_.size();
    check.CheckReminders();
    if (questions_.size() > before) askedAt.push_back(minute);
    if (minute <= 14 * 60) {
      EXPECT_EQ(check.ReminderTimes().size(), 1u) << "Yes keeps it";
    }
  }
  std::vector<int> expected;
  for (int minute = 12 * 60; minute <= 14 * 60; minute += 10) expected.push_back(minute);
  EXPECT_EQ(askedAt, expected) << "12:00 and 14:00 inclusive";
  EXPECT_TRUE(check.ReminderTimes().empty()) << "removed at 14:10 without a question";

  const MessageBoxRequest& question = questions_.front();
  EXPECT_EQ(question.text, "\r  Sie haben einen Termin um 14:00:00\r\rSoll die Erinnerung wiederholt werden ?\r");
  EXPECT_EQ(question.caption, "Termin");
  EXPECT_EQ(question.buttons, MbButtons::YesNo);
  EXPECT_EQ(question.icon, MbIcon::Question);
}

TEST_F(ReminderChecks, TheFirstMomentOfTheWindowAsksForEveryMinuteOfTheDay) {
  // In day fractions T - lead / 1440 lands after the moment for many times.
  for (int lead : {5, 10, 15, 120}) {
    for (int minute = lead; minute < 24 * 60; ++minute) {
      now_ = At((minute - lead) / 60, (minute - lead) % 60);
      ReminderCheck check({At(minute / 60, minute % 60)}, lead);
      questions_.clear();
      check.CheckReminders();
      ASSERT_EQ(questions_.size(), 1u) << "lead " << lead << " at minute " << minute;
      now_ -= 1 / kMSecsPerDay;
      questions_.clear();
      check.CheckReminders();
      ASSERT_TRUE(questions_.empty()) << "a millisecond earlier it is not due; minute " << minute;
    }
  }
}

TEST_F(ReminderChecks, DueEntriesAskedInListOrderAndNoRemoves) {
  ReminderCheck check({At(15, 0), At(14, 30), At(18, 0)}, 120);
  now_ = At(13, 30);
  answers_ = {MbResult::No, MbResult::Yes};
  check.CheckReminders();
  EXPECT_EQ(Asked(), (std::vector<std::string>{"15:00:00", "14:30:00"}));
  EXPECT_EQ(check.ReminderTimes(), (std::vector<TDateTime>{At(14, 30), At(18, 0)}));
  questions_.clear();
  check.CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"14:30:00"}) << "the removed one is not asked again";
}

TEST_F(ReminderChecks, AnEntryEqualToNowIsAskedAndOnePassedIsRemovedSilently) {
  ReminderCheck check({At(9, 0)}, 0);
  now_ = At(9, 0);
  check.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_EQ(check.ReminderTimes().size(), 1u);
  now_ += 1 / kMSecsPerDay;
  check.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(check.ReminderTimes().empty());
}

TEST_F(ReminderChecks, RemovalOfPositionsOneAndThreeKeepsTheOthersInOrder) {
  const TDateTime a = At(10, 0), b = At(8, 0), c = At(11, 0), d = At(9, 10), e = At(12, 0);
  ReminderCheck passed({a, b, c, d, e}, 30);
  now_ = At(9, 20);  // b and d have passed, nothing is due
  passed.CheckReminders();
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(passed.ReminderTimes(), (std::vector<TDateTime>{a, c, e}));

  // One passed, one answered No, one answered Yes in the same check.
  ReminderCheck mixed({a, b, c, At(9, 30), e}, 30);
  now_ = At(9, 30);
  answers_ = {MbResult::Yes, MbResult::No};
  mixed.CheckReminders();
  EXPECT_EQ(Asked(), (std::vector<std::string>{"10:00:00", "09:30:00"}));
  EXPECT_EQ(mixed.ReminderTimes(), (std::vector<TDateTime>{a, c, e}));
}

TEST_F(ReminderChecks, MoreThanNineRemovalsInOneCheckAllTakeEffect) {
  std::vector<TDateTime> times;
  for (int hour = 0; hour < 24; ++hour) times.push_back(At(hour, 0));
  ReminderCheck check(times, 60);
  now_ = At(12, 30);
  answers_ = {MbResult::No};  // 13:00, due and answered No
  check.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u);
  std::vector<TDateTime> left;
  for (int hour = 14; hour < 24; ++hour) left.push_back(At(hour, 0));
  EXPECT_EQ(check.ReminderTimes(), left) << "13 passed and one No, all gone at once";
}

TEST_F(ReminderChecks, ATickWhileAQuestionIsOpenIsSkipped) {
  ReminderCheck check({At(8, 0), At(10, 0), At(10, 30)}, 60);
  now_ = At(9, 45);
  size_t inner = 0;
  during_ = [&] {
    const size_t before = questions_.size();
    check.CheckReminders();  // the tick that the question's loop delivers
    inner += questions_.size() - before;
  };
  answers_ = {MbResult::No, MbResult::Yes};
  check.CheckReminders();
  EXPECT_EQ(inner, 0u);
  EXPECT_EQ(Asked(), (std::vector<std::string>{"10:00:00", "10:30:00"}));
  EXPECT_EQ(check.ReminderTimes(), std::vector<TDateTime>{At(10, 30)});

  during_ = nullptr;
  questions_.clear();
  check.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u) << "the next tick after the check checks again";
}

TEST_F(ReminderChecks, AQuitWhileAQuestionIsOpenEndsTheCheck) {
  ReminderCheck check({At(7, 0), At(10, 0), At(10, 30)}, 60);
  now_ = At(9, 45);
  during_ = [&] { check.Stop(); };
  answers_ = {MbResult::No};
  check.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u) << "nothing more is asked";
  check.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_EQ(check.ReminderTimes().size(), 3u);
}

TEST_F(ReminderChecks, LeadTimesOfAnySize) {
  ReminderCheck huge({At(23, 0)}, INT32_MAX);
  now_ = 0;
  huge.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u) << "the whole day lies within the lead time";

  ReminderCheck negative({At(9, 0)}, -30);
  now_ = At(9, 0);
  negative.CheckReminders();
  EXPECT_EQ(questions_.size(), 1u) << "never due";
  EXPECT_EQ(negative.ReminderTimes().size(), 1u);
  now_ = At(9, 1);
  negative.CheckReminders();
  EXPECT_TRUE(negative.ReminderTimes().empty());

  // Shorter than the interval: the appointment passes between two checks.
  ReminderCheck shortLead({At(14, 5)}, 3);
  for (TDateTime tick : {At(14, 0), At(14, 10)}) {
    now_ = tick;
    shortLead.CheckReminders();
  }
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(shortLead.ReminderTimes().empty());
}

TEST_F(ReminderChecks, TheFirstCheckOfANewDayTakesThatDaysListOnly) {
  ReminderCheck check({At(23, 50), At(0, 20)}, 30);
  int reads = 0;
  check.OnNewDay = [&] {
    ++reads;
    return std::vector<TDateTime>{At(0, 30), At(9, 0)};
  };
  now_ = At(23, 40);
  check.CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"23:50:00"}) << "kept with Yes";
  EXPECT_EQ(reads, 0) << "the next day's list is not read on the day before";

  day_ += 1;
  now_ = At(0, 5);
  check.CheckReminders();
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(Asked(), (std::vector<std::string>{"23:50:00", "00:30:00"}))
      << "yesterday's 00:20 and 23:50 are gone, today's 00:30 is due";
  EXPECT_EQ(check.ReminderTimes(), (std::vector<TDateTime>{At(0, 30), At(9, 0)}));

  now_ = At(23, 45);
  questions_.clear();
  check.CheckReminders();
  EXPECT_TRUE(questions_.empty()) << "23:50 is not asked again on the next day";
  EXPECT_TRUE(check.ReminderTimes().empty());
  EXPECT_EQ(reads, 1) << "read once per day";

  // A day without a reader has no reminders.
  ReminderCheck alone({At(22, 0)}, 30);
  day_ += 1;
  now_ = At(21, 45);
  alone.CheckReminders();
  EXPECT_TRUE(questions_.empty());
  EXPECT_TRUE(alone.ReminderTimes().empty());
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

// The machine slept, or the clock was set, over appointments: those the
// user never heard of are named once, those already asked go silently, and
// what passed before the program started stays unnamed.
TEST_F(ReminderChecks, AJumpOverUnaskedTimesNamesThemOnceInOneBox) {
  ReminderCheck check({At(7, 0), At(10, 0), At(9, 30), At(13, 0), At(16, 0)}, 30);
  now_ = At(8, 0);  // 07:00 passed before the program started
  check.CheckReminders();
  EXPECT_TRUE(questions_.empty());
  now_ = At(9, 20);
  check.CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"09:30:00"}) << "answered Ja";
  questions_.clear();
  now_ = At(12, 50);  // asleep from 09:20 to 12:50
  check.CheckAfterClockJump();
  ASSERT_EQ(questions_.size(), 2u);
  EXPECT_EQ(questions_[0].caption, "Termin verpasst");
  EXPECT_EQ(questions_[0].text, "Sie hatten einen Termin um 10:00") << "09:30 was asked, 07:00 passed earlier";
  EXPECT_EQ(questions_[0].buttons, MbButtons::Ok);
  EXPECT_EQ(questions_[1].caption, "Termin") << "13:00 is due now and asked";
  EXPECT_EQ(check.ReminderTimes(), (std::vector<TDateTime>{At(13, 0), At(16, 0)}));
  questions_.clear();
  now_ = At(17, 0);
  check.CheckAfterClockJump();
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0].text, "Sie hatten einen Termin um 16:00") << "13:00 was asked";
  questions_.clear();
  check.CheckAfterClockJump();
  EXPECT_TRUE(questions_.empty()) << "named once";
}

TEST_F(ReminderChecks, SeveralMissedTimesStandInOrderAndANewDayCountsFromMidnight) {
  ReminderCheck check({}, 30);
  now_ = At(23, 0);
  check.CheckReminders();
  check.OnNewDay = [] { return std::vector<TDateTime>{At(9, 0), At(8, 15), At(8, 15)}; };
  day_ += 1;
  now_ = At(9, 5);  // asleep over midnight
  check.CheckAfterClockJump();
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0].text,
            "Sie hatten einen Termin um 08:15\rSie hatten einen Termin um 08:15\rSie hatten einen Termin um 09:00");
  EXPECT_TRUE(check.ReminderTimes().empty());
}

TEST_F(ReminderChecks, TheFirstStartOfADayNamesNothing) {
  now_ = At(11, 0);
  ReminderCheck check({At(9, 0), At(10, 0)}, 30);
  check.CheckAfterClockJump();  // a jump before the first check
  EXPECT_TRUE(questions_.empty());
  EXPECT_TRUE(check.ReminderTimes().empty());
}

}  // namespace
}  // namespace vesk
