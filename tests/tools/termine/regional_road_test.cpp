// The road of an appointment under the regional formats of four countries,
// each in a locale of its own made for the test: the weekday tabs filter on
// a date written with "." or "/", the close writes termine.sav in those
// formats, and the reminder program's loader finds today's times in it.
#include <clocale>

#include "alarm/VeskProc.h"
#include "platform/regional_settings.h"
#include "runtime/format_settings.h"
#include "tests/support/generated_locales.h"
#include "tests/tools/termine/termine_fixture.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

struct Region {
  const char* locale;
  const char* today;    // 9 December 2026 in its short date format
  const char* evening;  // 23:30 in its long time format
};

void PrintTo(const Region& region, std::ostream* out) { *out << region.locale; }

class RegionalRoad : public TermineTest, public testing::WithParamInterface<Region> {
 protected:
  void SetUp() override {
    TermineTest::SetUp();
    multiByte_ = IsMultiByteCodePage();
    const std::string name = GetParam().locale;
    locales_ = std::make_unique<GeneratedLocales>(std::vector<std::string>{name});
    ASSERT_TRUE(locales_->Missing().empty()) << "localedef cannot make " << name << " (package locales)";
    ASSERT_NE(std::setlocale(LC_ALL, (name + ".UTF-8").c_str()), nullptr);
    LoadRegionalSettings();
  }
  void TearDown() override {
    TermineTest::TearDown();
    std::setlocale(LC_ALL, "C");
    SetFormatSettings(FormatSettings{});
    SetMultiByteCodePageForTesting(multiByte_);
    locales_.reset();
  }

  std::string OrtShown() const { return window_->MTbTermine->FieldByName("Ort")->AsString(); }

  std::unique_ptr<GeneratedLocales> locales_;
  bool multiByte_ = false;
};

TEST_P(RegionalRoad, TabsCloseListAndReminders) {
  const Region& region = GetParam();
  SetToday(2026, 12, 9);  // a Wednesday
  ASSERT_EQ(DateToStr(today_), region.today);
  OpenWindow();
  Add(today_ + 1, EncodeTime(14, 30, 0, 0), "Morgen");
  Add(today_, EncodeTime(23, 30, 0, 0), "Spät");
  Add(today_ - 1, EncodeTime(11, 0, 0, 0), "Gestern");
  Add(today_, EncodeTime(9, 0, 0, 0), "Heute");

  SelectTab(4);  // "M&ittwoch": today
  EXPECT_EQ(window_->MTbTermine->Filter(), std::string("Datum = '") + region.today + "'");
  EXPECT_EQ(window_->MTbTermine->RecordCount(), 2);
  SelectTab(5);  // "D&onnerstag": tomorrow
  EXPECT_EQ(window_->MTbTermine->RecordCount(), 1);
  EXPECT_EQ(OrtShown(), "Morgen");
  SelectTab(0);
  EXPECT_EQ(window_->MTbTermine->RecordCount(), 4);
  EXPECT_TRUE(errors_.empty()) << errors_.front();

  CloseWindow();
  EXPECT_TRUE(errors_.empty()) << errors_.front();
  EXPECT_TRUE(window_->ListSaved());
  const std::optional<std::string> list = ListText();
  ASSERT_TRUE(list.has_value());
  EXPECT_NE(list->find(std::string("[") + region.today + "]\n"), std::string::npos) << *list;
  EXPECT_NE(list->find(std::string("=") + region.evening + "\n"), std::string::npos) << *list;
  EXPECT_EQ(LoadReminders(ListPath()), (std::vector<TDateTime>{EncodeTime(9, 0, 0, 0), EncodeTime(23, 30, 0, 0)}));
  SetToday(2026, 12, 10);
  EXPECT_EQ(LoadReminders(ListPath()), std::vector<TDateTime>{EncodeTime(14, 30, 0, 0)});
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalRoad,
                         testing::Values(Region{"de_DE", "09.12.2026", "23:30:00"},
                                         Region{"en_US", "12/09/2026", "11:30:00 PM"},
                                         Region{"en_GB", "09/12/26", "23:30:00"},
                                         Region{"fr_FR", "09/12/2026", "23:30:00"}),
                         [](const testing::TestParamInfo<Region>& info) { return std::string(info.param.locale); });

}  // namespace
}  // namespace vesk
