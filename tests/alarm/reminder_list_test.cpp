#include <gtest/gtest.h>

#include <filesystem>

#include "alarm/VeskProc.h"
#include "platform/ini_file.h"
#include "runtime/exceptions.h"
#include "runtime/format_settings.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

class ReminderList : public testing::Test {
 protected:
  ReminderList() {
    today_ = EncodeDate(2026, 12, 9);
    SetClockForTesting([this] { return today_ + EncodeTime(8, 15, 0, 0); });
  }
  ~ReminderList() override {
    SetClockForTesting({});
    SetFormatSettings(FormatSettings{});
  }

  // As the appointments window writes the file: one section per date in the
  // short date format, keys numbered over the whole file, long time values.
  void Write(const std::vector<std::pair<TDateTime, TDateTime>>& appointments) {
    int key = 0;
    for (const auto& [date, time] : appointments) {
      ASSERT_TRUE(ProfileWriteString(file_, DateToStr(date), std::to_string(key++), TimeToStr(time)));
    }
  }

  TempFolder folder_;
  std::string file_ = folder_.File("termine.sav");
  TDateTime today_ = 0;
};

TEST_F(ReminderList, ReadsTodaysSectionAsTheAppointmentsWindowWritesIt) {
  FormatSettings american;
  american.shortDateFormat = "m/d/yyyy";
  american.dateSeparator = '/';
  american.longTimeFormat = "h:nn:ss ampm";
  american.timeAMString = "AM";
  american.timePMString = "PM";
  for (const FormatSettings& settings : {FormatSettings{}, american}) {
    SetFormatSettings(settings);
    std::filesystem::remove(file_);
    const TDateTime tomorrow = today_ + 1;
    Write({{today_, EncodeTime(14, 30, 0, 0)},
           {tomorrow, EncodeTime(10, 15, 0, 0)},
           {today_, EncodeTime(9, 0, 0, 0)},
           {today_, EncodeTime(9, 0, 0, 0)},  // same date and time: two reminders
           {today_, 0},                       // without a time
           {today_, EncodeTime(23, 59, 59, 0)}});
    std::vector<TDateTime> times = LoadReminders(file_);
    std::vector<TDateTime> expected = {EncodeTime(14, 30, 0, 0), EncodeTime(9, 0, 0, 0), EncodeTime(9, 0, 0, 0), 0,
                                       EncodeTime(23, 59, 59, 0)};
    ASSERT_EQ(times.size(), expected.size()) << settings.shortDateFormat;
    for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], expected[i], 1e-9) << i;
  }
}

TEST_F(ReminderList, EmptyValuesAreSkipped) {
  Write({{today_, EncodeTime(11, 0, 0, 0)}});
  ASSERT_TRUE(ProfileWriteString(file_, DateToStr(today_), "5", ""));
  ASSERT_TRUE(ProfileWriteString(file_, DateToStr(today_), "6", "12:00"));
  std::vector<TDateTime> times = LoadReminders(file_);
  ASSERT_EQ(times.size(), 2u);
  EXPECT_NEAR(times[1], EncodeTime(12, 0, 0, 0), 1e-9) << "seconds are optional";
}

TEST_F(ReminderList, NoFileNoSectionOrAnotherDateFormatGiveNothing) {
  EXPECT_TRUE(LoadReminders(file_).empty());
  Write({{today_ + 1, EncodeTime(11, 0, 0, 0)}, {today_ - 1, EncodeTime(11, 0, 0, 0)}});
  EXPECT_TRUE(LoadReminders(file_).empty());
  Write({{today_, EncodeTime(11, 0, 0, 0)}});
  ASSERT_EQ(LoadReminders(file_).size(), 1u);
  FormatSettings iso;
  iso.shortDateFormat = "yyyy-mm-dd";
  iso.dateSeparator = '-';
  SetFormatSettings(iso);
  EXPECT_TRUE(LoadReminders(file_).empty()) << "today's section is no longer found";
}

TEST_F(ReminderList, AnUnreadableTimeStopsTheLoader) {
  Write({{today_, EncodeTime(11, 0, 0, 0)}});
  ASSERT_TRUE(ProfileWriteString(file_, DateToStr(today_), "1", "25:00:00"));
  try {
    LoadReminders(file_);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), "'25:00:00' ist keine gültige Uhrzeit");
  }
}

}  // namespace
}  // namespace vesk
