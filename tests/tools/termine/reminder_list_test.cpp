#include <gtest/gtest.h>
#include <filesystem>

#include "runtime/datetime.h"
#include "runtime/file_io.h"
#include "runtime/format_settings.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/termine/termine_fixture.h"
#include "tools/termine/reminder_list.h"

namespace vesk {
namespace {

TDateTime At(int hour, int minute) { return EncodeTime(hour, minute, 0, 0); }

class ReminderListFile : public testing::Test {
 protected:
  ReminderListFile() { SetFormatSettings(FormatSettings{}); }

  TempFolder folder_;
  std::string path_ = folder_.File("termine.sav");
  TDateTime monday_ = EncodeDate(2026, 12, 7);
};

TEST_F(ReminderListFile, SectionsPerDateKeysRunOverTheFile) {
  const TDateTime tuesday = monday_ + 1;
  const TDateTime wednesday = monday_ + 2;
  ASSERT_TRUE(SaveReminderList(path_, {{tuesday, At(9, 0)}, {tuesday, At(14, 30)}, {wednesday, At(10, 15)}}));
  EXPECT_EQ(ReadFile(path_), "[08.12.2026]\n0=09:00:00\n1=14:30:00\n[09.12.2026]\n2=10:15:00\n");

  // A date met again later joins its section; a time part of the date, a
  // date part of the time and an empty time (0) do not show.
  EXPECT_EQ(ReminderListText({{tuesday + 0.75, 3 + At(8, 0)}, {wednesday, 0}, {tuesday, At(8, 0)}}),
            "[08.12.2026]\n0=08:00:00\n2=08:00:00\n[09.12.2026]\n1=00:00:00\n");

  // Other regional settings.
  FormatSettings iso;
  iso.shortDateFormat = "yyyy/mm/dd";
  iso.dateSeparator = '-';
  iso.longTimeFormat = "h.nn";
  SetFormatSettings(iso);
  EXPECT_EQ(ReminderListText({{tuesday, At(14, 30)}}), "[2026-12-08]\n0=14.30\n");
}

TEST_F(ReminderListFile, EmptyListRemovesTheFile) {
  ASSERT_TRUE(SaveReminderList(path_, {{monday_, At(9, 0)}}));
  EXPECT_TRUE(SaveReminderList(path_, {}));
  EXPECT_FALSE(std::filesystem::exists(path_));
  // Nothing to remove is no failure.
  EXPECT_TRUE(SaveReminderList(path_, {}));
}

TEST_F(ReminderListFile, FailedWriteLeavesThePreviousList) {
  ASSERT_TRUE(SaveReminderList(path_, {{monday_, At(9, 0)}}));
  const std::optional<std::string> previous = ReadFile(path_);
  {
    FileSizeLimit limit(8);
    EXPECT_FALSE(SaveReminderList(path_, {{monday_, At(10, 0)}, {monday_ + 1, At(11, 0)}}));
  }
  EXPECT_EQ(ReadFile(path_), previous);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);

  // A folder that is gone: nothing written, and no success reported.
  EXPECT_FALSE(SaveReminderList(folder_.File("gone/termine.sav"), {{monday_, At(9, 0)}}));
}

}  // namespace
}  // namespace vesk
