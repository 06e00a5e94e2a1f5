// Reminders answered No stay answered: kept in alarm.sav for the day, skipped
// after a restart on the same day, forgotten on the next; the reminder list
// itself is never written. The clock and the user's answers are the test's.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "alarm/answered_reminders.h"
#include "alarm/reminder_check.h"
#include "platform/ini_file.h"
#include "runtime/file_io.h"
#include "tests/alarm/clock_and_user.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

class AnsweredRemindersTest : public ClockAndUser {
 protected:
  void List(TDateTime day, const std::vector<TDateTime>& times) {
    for (TDateTime time : times) {
      ASSERT_TRUE(ProfileWriteString(listFile_, DateToStr(day), std::to_string(key_++), TimeToStr(time)));
    }
  }
  // The program started at the clock's time: today's list without today's
  // answers, and every No written down, as the program wires its check.
  std::unique_ptr<ReminderCheck> Start(int32_t leadMinutes = 120) {
    auto check = std::make_unique<ReminderCheck>(TodaysReminders(listFile_, answered_), leadMinutes);
    check->OnNewDay = [this] { return TodaysReminders(listFile_, answered_); };
    check->OnAnsweredNo = [this](TDateTime day, TDateTime time) { written_.push_back(answered_.Add(day, time)); };
    return check;
  }

  TempFolder folder_;
  std::string listFile_ = folder_.File("termine.sav");
  std::string answeredFile_ = folder_.File("alarm.sav");
  AnsweredReminders answered_{answeredFile_};
  std::vector<bool> written_;
  int key_ = 0;
};

TEST_F(AnsweredRemindersTest, ANoStaysAnsweredAfterARestartOnTheSameDayOnly) {
  List(day_, {At(14, 0), At(15, 0), At(14, 0), At(15, 20)});
  List(day_ + 1, {At(14, 0), At(15, 0)});
  const std::optional<std::string> listBefore = ReadFile(listFile_);
  now_ = At(13, 0);
  std::unique_ptr<ReminderCheck> first = Start();
  answers_ = {MbResult::No, MbResult::Yes, MbResult::No};  // 14:00, 15:00, the second 14:00
  first->CheckReminders();
  EXPECT_EQ(Asked(), (std::vector<std::string>{"14:00:00", "15:00:00", "14:00:00"}));
  EXPECT_EQ(written_, (std::vector<bool>{true, true}));
  EXPECT_EQ(ReadFile(answeredFile_), "[09.12.2026]\n0=14:00:00\n1=14:00:00\n");

  // Restarted later the same day: both 14:00 stay answered, Yes is asked again.
  first.reset();
  now_ = At(13, 30);
  std::unique_ptr<ReminderCheck> second = Start();
  EXPECT_EQ(second->ReminderTimes(), (std::vector<TDateTime>{At(15, 0), At(15, 20)}));
  questions_.clear();
  answers_ = {MbResult::No};
  second->CheckReminders();
  EXPECT_EQ(Asked(), (std::vector<std::string>{"15:00:00", "15:20:00"}));
  EXPECT_EQ(ReadFile(answeredFile_), "[09.12.2026]\n0=14:00:00\n1=14:00:00\n2=15:00:00\n");
  EXPECT_EQ(ReadFile(listFile_), listBefore) << "termine.sav is not touched";

  // Restarted on the next day: yesterday's answers count no more, and the
  // first answer of the day replaces them.
  second.reset();
  day_ += 1;
  now_ = At(13, 0);
  std::unique_ptr<ReminderCheck> nextDay = Start();
  EXPECT_EQ(nextDay->ReminderTimes(), (std::vector<TDateTime>{At(14, 0), At(15, 0)}));
  answers_ = {MbResult::Yes, MbResult::No};
  nextDay->CheckReminders();
  EXPECT_EQ(ReadFile(answeredFile_), "[10.12.2026]\n0=15:00:00\n");
}

TEST_F(AnsweredRemindersTest, AcrossMidnightTheNewDaysListIsReadAndYesterdaysAnswersDoNotCount) {
  List(day_, {At(9, 0), At(23, 55)});
  List(day_ + 1, {At(0, 30), At(9, 0), At(23, 55)});
  now_ = At(8, 0);
  std::unique_ptr<ReminderCheck> check = Start(60);
  answers_ = {MbResult::No};
  check->CheckReminders();  // 09:00 answered No
  now_ = At(23, 50);
  check->CheckReminders();  // 23:55 kept with Yes
  EXPECT_EQ(Asked(), (std::vector<std::string>{"09:00:00", "23:55:00"}));

  day_ += 1;
  now_ = At(0, 0);
  questions_.clear();
  check->CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"00:30:00"}) << "yesterday's 23:55 is not carried over";
  now_ = At(8, 30);
  questions_.clear();
  check->CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"09:00:00"}) << "yesterday's No was for yesterday's 09:00";
  now_ = At(23, 50);
  questions_.clear();
  check->CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"23:55:00"}) << "today's own 23:55";
}

TEST_F(AnsweredRemindersTest, FailuresLeaveTheProgramAsking) {
  // A file that cannot be written: the answer holds while the program runs.
  List(day_, {At(10, 0), At(11, 0)});
  ASSERT_EQ(mkdir(answeredFile_.c_str(), 0700), 0);  // its place taken by a folder
  now_ = At(9, 30);
  std::unique_ptr<ReminderCheck> check = Start();
  answers_ = {MbResult::No, MbResult::Yes};
  check->CheckReminders();
  EXPECT_EQ(written_, std::vector<bool>{false});
  EXPECT_EQ(check->ReminderTimes(), std::vector<TDateTime>{At(11, 0)});
  std::filesystem::remove(answeredFile_);

  // Values of the file that are no time are passed over.
  ASSERT_TRUE(ProfileWriteString(answeredFile_, DateToStr(day_), "0", "elf Uhr"));
  ASSERT_TRUE(ProfileWriteString(answeredFile_, DateToStr(day_), "1", "11:00:00"));
  EXPECT_EQ(answered_.Of(day_), std::vector<TDateTime>{At(11, 0)});
  EXPECT_EQ(TodaysReminders(listFile_, answered_), std::vector<TDateTime>{At(10, 0)});

  // A new day's list that cannot be read is shown; the day goes on without
  // reminders and the day after is read again.
  List(day_ + 1, {At(8, 0)});
  ASSERT_TRUE(ProfileWriteString(listFile_, DateToStr(day_ + 1), "x", "25:00"));
  List(day_ + 2, {At(8, 0)});
  day_ += 1;
  now_ = At(7, 30);
  questions_.clear();
  check->CheckReminders();
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0].text, "'25:00' ist keine gültige Uhrzeit");
  EXPECT_EQ(questions_[0].icon, MbIcon::Error);
  EXPECT_TRUE(check->ReminderTimes().empty());
  day_ += 1;
  questions_.clear();
  check->CheckReminders();
  EXPECT_EQ(Asked(), std::vector<std::string>{"08:00:00"});
}

}  // namespace
}  // namespace vesk
