#include <gtest/gtest.h>
#include <QApplication>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "alarm/VeskProc.h"
#include "engine/radiridir.h"
#include "platform/registered_messages.h"
#include "runtime/file_io.h"
#include "tests/tools/termine/termine_fixture.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/data/string_field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_grid.h"
#include "toolkit/db_memo.h"
#include "toolkit/db_navigator.h"
#include "toolkit/label.h"
#include "toolkit/screenshot.h"
#include "toolkit/tab_control.h"
#include "tools/entry_point_execute.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

TDateTime At(int hour, int minute) { return EncodeTime(hour, minute, 0, 0); }

constexpr char kExampleList[] = "[08.12.2026]\n0=09:00:00\n1=14:30:00\n[09.12.2026]\n2=10:15:00\n";

class TermineWindow : public TermineTest {
 protected:
  // The description's example, entered out of order, and one appointment
  // of yesterday that the list leaves out.
  void AddExample() {
    Add(today_ + 1, At(10, 15), "Post");
    Add(today_, At(14, 30), "Arzt");
    Add(today_ - 1, At(11, 0), "Gestern");
    Add(today_, At(9, 0), "Büro");
  }
  void Click(TNavigateBtn button) {
    QToolButton* target = window_->DBNvTermine->Button(button);
    ASSERT_TRUE(target->isEnabled());
    QTest::mouseClick(target, Qt::LeftButton);
  }
  void Type(QWidget* control, const char* text) {
    QTest::mouseClick(control, Qt::LeftButton);
    QTest::keyClick(control, Qt::Key_Home);
    QTest::keyClicks(control, text);
  }
  std::vector<std::string> Shown(const char* field) {
    std::vector<std::string> values;
    TRadiRidir& table = *window_->MTbTermine;
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.FieldByName(field)->DisplayText());
    return values;
  }
};

TEST_F(TermineWindow, FirstStartCreatesTheTableWithoutWarning) {
  ASSERT_FALSE(std::filesystem::exists(kTermineTable));
  OpenWindow();
  EXPECT_TRUE(std::filesystem::exists(kTermineTable));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(window_->MTbTermine->Active());
  EXPECT_EQ(window_->MTbTermine->IndexName(), kTermineIndex);

  // Date and time order, whatever order they were entered in.
  AddExample();
  EXPECT_EQ(Shown("Ort"), (std::vector<std::string>{"Gestern", "Büro", "Arzt", "Post"}));
  EXPECT_EQ(Shown("Datum"), (std::vector<std::string>{"07.12.2026", "08.12.2026", "08.12.2026", "09.12.2026"}));
  EXPECT_EQ(Shown("Uhrzeit"), (std::vector<std::string>{"11:00", "09:00", "14:30", "10:15"}));

  // A second window on the existing table opens it as it is.
  CloseWindow();
  window_->Free();
  OpenWindow();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(Shown("Ort").size(), 4u);
}

TEST_F(TermineWindow, TableWithoutItsIndexGetsItWhenOpened) {
  // As made by hand or by an older version: the fields, no index.
  std::filesystem::create_directory("Data");
  const rr_field_spec fields[] = {
      {"Datum", 'D', 0, nullptr, nullptr, nullptr, nullptr},
      {"Ort", 'S', 50, nullptr, nullptr, nullptr, nullptr},
      {"Uhrzeit", 'D', 0, nullptr, nullptr, nullptr, nullptr},
      {"Bemerkung", 'M', 0, nullptr, nullptr, nullptr, nullptr},
  };
  const int32_t handle = rr_new(0);
  ASSERT_EQ(rr_create(handle, kTermineTable, fields, 4, nullptr, 0), 0);
  rr_free(handle);
  OpenWindow();
  EXPECT_TRUE(errors_.empty()) << errors_.front();
  ASSERT_EQ(window_->MTbTermine->IndexName(), kTermineIndex);
  AddExample();
  EXPECT_EQ(Shown("Ort"), (std::vector<std::string>{"Gestern", "Büro", "Arzt", "Post"}));

  // The next opening finds it in place.
  CloseWindow();
  window_->Free();
  OpenWindow();
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(window_->MTbTermine->IndexName(), kTermineIndex);
  EXPECT_EQ(Shown("Ort").size(), 4u);
}

TEST_F(TermineWindow, TableThatCannotBeMadeIsReportedAndTheListKept) {
  ASSERT_TRUE(WriteFileAtomically("Data", "no folder"));
  ASSERT_TRUE(WriteFileAtomically(ListPath(), kExampleList));
  OpenWindow();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_FALSE(window_->MTbTermine->Active());
  // Activation does not try again and again.
  window_->FormActivate(*window_);
  EXPECT_EQ(errors_.size(), 1u);
  CloseWindow();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(ListText(), kExampleList);
  EXPECT_TRUE(hostMessages_.empty());
}

TEST_F(TermineWindow, TabOrderRunsThroughFieldsToTheList) {
  OpenWindow();
  QTest::mouseClick(window_->EdDatum, Qt::LeftButton);
  std::vector<QWidget*> visited{QApplication::focusWidget()};
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(visited, (std::vector<QWidget*>{window_->EdDatum, window_->EdUhrzeit, window_->EdOrt, window_->MmBemerkung,
                                            window_->DBGrTermine->Table()}));
  // Each control is found by its name.
  const std::vector<std::pair<const char*, QWidget*>> named{{"DBNvTermine", window_->DBNvTermine},
                                                            {"TCTermine", window_->TCTermine},
                                                            {"EdDatum", window_->EdDatum},
                                                            {"EdUhrzeit", window_->EdUhrzeit},
                                                            {"EdOrt", window_->EdOrt},
                                                            {"MmBemerkung", window_->MmBemerkung},
                                                            {"DBGrTermine", window_->DBGrTermine},
                                                            {"LbTerminliste", window_->LbTerminliste}};
  for (const auto& [name, control] : named) EXPECT_EQ(window_->findChild<QWidget*>(name), control) << name;
}

TEST_F(TermineWindow, WeekdayTabsShowTheNextSuchDayFromEveryStartingDay) {
  OpenWindow();
  // One appointment on each of the fourteen days from yesterday on.
  for (int day = -1; day < 13; ++day) Add(today_ + day, At(12, 0), DateToStr(today_ + day));
  // Every weekday as today: each weekday tab shows the one day of that
  // weekday among today and the six days after it.
  for (int start = 0; start < 7; ++start) {
    const TDateTime today = EncodeDate(2026, 12, 8) + start;
    int year, month, day;
    DecodeDate(today, year, month, day);
    SetToday(year, month, day);
    for (int tab = 1; tab <= 7; ++tab) {
      SelectTab(tab);
      std::vector<std::string> shown = Shown("Ort");
      ASSERT_EQ(shown.size(), 1u) << "today " << DateToStr(today) << ", tab " << tab;
      TDateTime date = StrToDate(shown[0]);
      EXPECT_EQ(DayOfWeek(date), tab);
      EXPECT_GE(date, today);
      EXPECT_LT(date, today + 7);
    }
    SelectTab(0);
    EXPECT_EQ(Shown("Ort").size(), 14u);
  }

  // On a Wednesday, through the tabs' mnemonics: Monday is today + 5,
  // Wednesday today, Thursday tomorrow.
  SetToday(2026, 12, 9);
  QTest::keyClick(window_, Qt::Key_M, Qt::AltModifier);
  EXPECT_EQ(window_->TCTermine->TabIndex(), 2);
  EXPECT_EQ(window_->MTbTermine->Filter(), "Datum = '14.12.2026'");
  QTest::keyClick(window_, Qt::Key_I, Qt::AltModifier);
  EXPECT_EQ(window_->MTbTermine->Filter(), "Datum = '09.12.2026'");
  QTest::keyClick(window_, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(window_->MTbTermine->Filter(), "Datum = '10.12.2026'");
  EXPECT_EQ(Shown("Ort"), std::vector<std::string>{"10.12.2026"});

  // Activation computes the day anew: the next day, Thursday is today.
  SetToday(2026, 12, 10);
  window_->FormActivate(*window_);
  EXPECT_EQ(window_->MTbTermine->Filter(), "Datum = '10.12.2026'");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(TermineWindow, ColumnWidthsFollowTheGridWidth) {
  OpenWindow();
  window_->DBGrTermine->resize(361, window_->DBGrTermine->height());
  auto widths = [this] {
    const TDBGrid& grid = *window_->DBGrTermine;
    std::map<std::string, int> result;
    for (int i = 0; i < grid.ColumnCount(); ++i) result[grid.Column(i).fieldName] = grid.Column(i).width;
    return result;
  };
  SelectTab(3);
  EXPECT_EQ(widths(), (std::map<std::string, int>{{"Datum", 0}, {"Uhrzeit", 51}, {"Ort", 280}}));
  SelectTab(0);
  EXPECT_EQ(widths(), (std::map<std::string, int>{{"Datum", 90}, {"Uhrzeit", 51}, {"Ort", 190}}));
  EXPECT_FALSE(window_->MTbTermine->Filtered());
  EXPECT_EQ(window_->DBGrTermine->Column(0).title, "Uhrzeit");
}

TEST_F(TermineWindow, DateAndTimeEnteredThroughTheMasks) {
  OpenWindow();
  // Typing alone does not start editing.
  Type(window_->EdOrt, "x");
  EXPECT_EQ(window_->MTbTermine->State(), dsBrowse);

  Click(nbInsert);
  Type(window_->EdDatum, "09122026");
  EXPECT_EQ(window_->EdDatum->Text(), "09.12.2026");
  Type(window_->EdUhrzeit, "1430");
  EXPECT_EQ(window_->EdUhrzeit->Text(), "14:30");
  Type(window_->EdOrt, "Zahnarzt");
  Type(window_->MmBemerkung, "Karte mitbringen");
  Click(nbPost);
  ASSERT_TRUE(errors_.empty()) << errors_.front();
  EXPECT_EQ(window_->MTbTermine->State(), dsBrowse);
  EXPECT_EQ(window_->MTbTermineDatum->AsDateTime(), EncodeDate(2026, 12, 9));
  EXPECT_NEAR(window_->MTbTermineUhrzeit->AsDateTime(), At(14, 30), 1e-9);
  EXPECT_EQ(window_->MTbTermineOrt->AsString(), "Zahnarzt");
  EXPECT_EQ(window_->MTbTermineBemerkung->AsString(), "Karte mitbringen");
  EXPECT_EQ(window_->DBGrTermine->CellText(0, 0), "14:30");
  EXPECT_EQ(window_->DBGrTermine->CellText(0, 2), "09.12.2026");
}

TEST_F(TermineWindow, WrongDateIsReportedOnceAndNeverAgainByItself) {
  OpenWindow();
  Add(today_, At(9, 0), "Büro");
  Click(nbInsert);
  ASSERT_EQ(QApplication::focusWidget(), window_->EdDatum);
  QTest::keyClicks(window_->EdDatum, "31022026");
  QTest::keyClick(window_->EdDatum, Qt::Key_Tab);
  const std::string wrongDate = "'31.02.2026' ist keine gültige Datums- und Uhrzeitangabe";
  ASSERT_EQ(errors_, std::vector<std::string>{wrongDate});
  EXPECT_EQ(QApplication::focusWidget(), window_->EdDatum);
  EXPECT_EQ(window_->EdDatum->Text(), "31.02.2026");

  // Becoming active again posts nothing, however often.
  for (int i = 0; i < 3; ++i) window_->FormActivate(*window_);
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_EQ(window_->MTbTermine->State(), dsInsert);

  // A tab that would have to post the record: one message, the tab, the
  // filter and the record stay.
  QTest::keyClick(window_, Qt::Key_M, Qt::AltModifier);
  EXPECT_EQ(errors_, (std::vector<std::string>{wrongDate, wrongDate}));
  EXPECT_EQ(window_->TCTermine->TabIndex(), 0);
  EXPECT_FALSE(window_->MTbTermine->Filtered());
  EXPECT_EQ(window_->MTbTermine->State(), dsInsert);
  EXPECT_EQ(window_->EdDatum->Text(), "31.02.2026");

  // Closing is refused once with the same message; Escape twice drops the
  // input and then the record, and the close goes through.
  CloseWindow();
  EXPECT_EQ(errors_.size(), 3u);
  EXPECT_TRUE(window_->isVisible());
  window_->EdDatum->setFocus();
  QTest::keyClick(window_->EdDatum, Qt::Key_Escape);
  QTest::keyClick(window_->EdDatum, Qt::Key_Escape);
  EXPECT_EQ(window_->MTbTermine->State(), dsBrowse);
  CloseWindow();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(errors_.size(), 3u);
  EXPECT_EQ(ListText(), "[08.12.2026]\n0=09:00:00\n");
}

TEST_F(TermineWindow, NewRecordSurvivesTheClickFromTheListIntoDatum) {
  OpenWindow();
  AddExample();
  QTableWidget* table = window_->DBGrTermine->Table();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                    table->visualRect(table->model()->index(1, 1)).center());
  ASSERT_EQ(QApplication::focusWidget(), table);
  Click(nbInsert);
  EXPECT_EQ(QApplication::focusWidget(), window_->EdDatum) << "moved there before the record was made";
  QTest::mouseClick(window_->EdDatum, Qt::LeftButton, Qt::NoModifier,
                    QPoint(window_->EdDatum->width() - 4, window_->EdDatum->height() / 2));
  EXPECT_EQ(window_->MTbTermine->State(), dsInsert);
  EXPECT_EQ(window_->EdDatum->cursorPosition(), 0);
  QTest::keyClicks(window_->EdDatum, "1.12.2026");
  QTest::keyClick(window_->EdDatum, Qt::Key_Tab);
  QTest::keyClicks(window_->EdUhrzeit, "9:30");
  QTest::keyClick(window_->EdUhrzeit, Qt::Key_Tab);
  QTest::keyClicks(window_->EdOrt, "Praxis am Markt");
  Click(nbPost);
  ASSERT_TRUE(errors_.empty()) << errors_.front();
  EXPECT_EQ(window_->MTbTermineDatum->AsDateTime(), EncodeDate(2026, 12, 1));
  EXPECT_NEAR(window_->MTbTermineUhrzeit->AsDateTime(), At(9, 30), 1e-9);
  EXPECT_EQ(Shown("Ort").size(), 5u);
}

TEST_F(TermineWindow, AppointmentWithoutDateIsRefused) {
  const std::string required = "Das Feld 'Datum' muss einen Wert haben";
  OpenWindow();
  Click(nbInsert);
  QTest::keyClick(window_->EdDatum, Qt::Key_Tab);
  QTest::keyClick(window_->EdUhrzeit, Qt::Key_Tab);
  QTest::keyClicks(window_->EdOrt, "Arzt");
  Click(nbPost);
  EXPECT_EQ(errors_, std::vector<std::string>{required});
  EXPECT_EQ(window_->MTbTermine->State(), dsInsert);
  Click(nbCancel);
  CloseWindow();
  window_->Free();
  window_ = nullptr;

  // A table made before Datum was required is held to it by the window.
  std::filesystem::remove(kTermineTable);
  const rr_field_spec fields[] = {
      {"Datum", 'D', 0, nullptr, nullptr, nullptr, nullptr},
      {"Ort", 'S', 50, nullptr, nullptr, nullptr, nullptr},
      {"Uhrzeit", 'D', 0, nullptr, nullptr, nullptr, nullptr},
      {"Bemerkung", 'M', 0, nullptr, nullptr, nullptr, nullptr},
  };
  const int32_t indexFields[] = {0, 2};
  const rr_index_spec index = {kTermineIndex, indexFields, 2, 0};
  const int32_t handle = rr_new(0);
  ASSERT_EQ(rr_create(handle, kTermineTable, fields, 4, &index, 1), 0);
  rr_free(handle);
  OpenWindow();
  Click(nbInsert);
  window_->EdOrt->setFocus();
  QTest::keyClicks(window_->EdOrt, "Arzt");
  Click(nbPost);
  EXPECT_EQ(errors_, (std::vector<std::string>{required, required}));
}

// Run at 96 and at 120 dots per inch (QT_FONT_DPI) by the build's tests.
TEST_F(TermineWindow, EveryTabCaptionHasRoomInFull) {
  OpenWindow();
  QTabBar* bar = window_->TCTermine->TabBar();
  ASSERT_EQ(bar->count(), 8);
  const int margins = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
  for (int i = 0; i < bar->count(); ++i) {
    const QString caption = bar->tabText(i).remove('&');
    EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(caption) + margins)
        << caption.toStdString() << " at " << bar->logicalDpiX() << " dpi, ratio " << bar->devicePixelRatio();
  }
  EXPECT_EQ(bar->elideMode(), Qt::ElideNone);
}

TEST_F(TermineWindow, CloseWritesTheListAndTellsTheHost) {
  OpenWindow();
  AddExample();
  CloseWindow();
  EXPECT_EQ(ListText(), kExampleList);
  EXPECT_TRUE(window_->ListSaved());
  EXPECT_FALSE(window_->MTbTermine->Active());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(hostMessages_, (std::vector<std::pair<uint16_t, uintptr_t>>{{VeskTools(), 1}}));
  EXPECT_TRUE(errors_.empty());

  // The reminder program's loader, on the same day with the same settings,
  // reads today's two times.
  EXPECT_EQ(LoadReminders(ListPath()), (std::vector<TDateTime>{At(9, 0), At(14, 30)}));
  SetToday(2026, 12, 9);
  EXPECT_EQ(LoadReminders(ListPath()), std::vector<TDateTime>{At(10, 15)});
}

TEST_F(TermineWindow, ShownAgainAfterACloseTheWindowWorksAndWritesTheSameList) {
  // The steps of TermExecute: the first call creates the window, the next
  // one finds it, hidden, by class and caption and shows it again.
  QPointer<TFRTermine> instance;
  Execute(instance, "TFRTermine", "Termine");
  ASSERT_FALSE(instance.isNull());
  window_ = instance;
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  AddExample();
  CloseWindow();
  Execute(instance, "TFRTermine", "Termine");
  EXPECT_EQ(instance, window_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  EXPECT_TRUE(window_->MTbTermine->Active());
  EXPECT_FALSE(window_->ListSaved());
  EXPECT_EQ(window_->MTbTermine->IndexName(), kTermineIndex);
  EXPECT_FALSE(window_->MTbTermine->Filtered());
  EXPECT_EQ(Shown("Ort").size(), 4u);
  CloseWindow();
  EXPECT_EQ(ListText(), kExampleList);
  EXPECT_EQ(hostMessages_.size(), 2u);

  // A close of the already closed window keeps the list.
  bool canClose = true;
  window_->FormCloseQuery(*window_, canClose);
  EXPECT_EQ(ListText(), kExampleList);
  // Freed after its close, it writes nothing more.
  window_->Free();
  window_ = nullptr;
  ProcessEvents();
  EXPECT_EQ(hostMessages_.size(), 2u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(TermineWindow, CloseWhileEditingPostsTheRecordFirst) {
  OpenWindow();
  Add(today_, At(9, 0), "Büro");
  Click(nbInsert);
  Type(window_->EdDatum, "08122026");
  Type(window_->EdUhrzeit, "1645");
  Type(window_->EdOrt, "Sport");
  CloseWindow();
  ASSERT_TRUE(errors_.empty()) << errors_.front();
  EXPECT_EQ(ListText(), "[08.12.2026]\n0=09:00:00\n1=16:45:00\n");
  window_->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  EXPECT_EQ(Shown("Ort"), (std::vector<std::string>{"Büro", "Sport"}));
}

TEST_F(TermineWindow, NoAppointmentFromTodayOnLeavesNoList) {
  ASSERT_TRUE(WriteFileAtomically(ListPath(), kExampleList));
  OpenWindow();
  Add(today_ - 1, At(9, 0), "Gestern");
  CloseWindow();
  EXPECT_FALSE(std::filesystem::exists(ListPath()));
  EXPECT_EQ(hostMessages_.size(), 1u);
}

TEST_F(TermineWindow, FailedWriteKeepsThePreviousListAndTheWindowOpen) {
  ASSERT_TRUE(WriteFileAtomically(ListPath(), "[08.12.2026]\n0=07:00:00\n"));
  OpenWindow();
  AddExample();
  {
    FileSizeLimit limit(8);
    CloseWindow();
  }

  EXPECT_EQ(ListText(), "[08.12.2026]\n0=07:00:00\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find("konnte nicht geschrieben werden"), std::string::npos) << errors_[0];
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->MTbTermine->Active());
  EXPECT_FALSE(window_->ListSaved());
  EXPECT_FALSE(window_->MTbTermine->Filtered());
  EXPECT_TRUE(hostMessages_.empty());

  // Once the file can be written again, the close goes through.
  CloseWindow();
  EXPECT_EQ(ListText(), kExampleList);
  EXPECT_EQ(hostMessages_.size(), 1u);
}

TEST_F(TermineWindow, NeverClosedWindowWritesTheListWhenDestroyed) {
  OpenWindow();
  AddExample();
  window_->Free();
  window_ = nullptr;
  ProcessEvents();
  EXPECT_EQ(ListText(), kExampleList);
  EXPECT_EQ(hostMessages_, (std::vector<std::pair<uint16_t, uintptr_t>>{{VeskTools(), 1}}));
}

TEST_F(TermineWindow, Screenshot) {
  OpenWindow();
  AddExample();
  window_->FormActivate(*window_);
  const std::string path = std::string(VESK_SCREENSHOT_FOLDER) + "/termine.png";
  EXPECT_TRUE(SaveScreenshot(*window_, path));
}

}  // namespace
}  // namespace vesk
