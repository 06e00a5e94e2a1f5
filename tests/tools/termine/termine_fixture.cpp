#include "tests/tools/termine/termine_fixture.h"

#include <QTabBar>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "runtime/file_io.h"
#include "runtime/format_settings.h"
#include "toolkit/application.h"
#include "toolkit/data/field.h"
#include "toolkit/tab_control.h"
#include "tools/VeskMsg.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &previous_);
  // The write fails with EFBIG instead of ending the process.
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit = previous_;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous_); }

void TermineTest::SetUp() {
  LibraryWindowTest::SetUp();
  SetFormatSettings(FormatSettings{});
  SetToday(2026, 12, 8);
}

void TermineTest::TearDown() {
  LibraryWindowTest::TearDown();
  SetClockForTesting({});
}

void TermineTest::SetToday(int year, int month, int day) {
  today_ = EncodeDate(year, month, day);
  const TDateTime now = today_ + EncodeTime(8, 15, 0, 0);
  SetClockForTesting([now] { return now; });
}

TFRTermine& TermineTest::OpenWindow() {
  window_ = new TFRTermine();
  window_->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
  return *window_;
}

void TermineTest::CloseWindow() {
  window_->Close();
  ProcessEvents();
}

void TermineTest::Add(TDateTime date, TDateTime time, const std::string& ort) {
  TRadiRidir& table = *window_->MTbTermine;
  table.Append();
  table.FieldByName("Datum")->SetAsDateTime(date);
  table.FieldByName("Uhrzeit")->SetAsDateTime(time);
  table.FieldByName("Ort")->SetAsString(ort);
  table.Post();
}

void TermineTest::SelectTab(int index) {
  QTabBar* bar = window_->TCTermine->TabBar();
  while (bar->currentIndex() < index) QTest::keyClick(bar, Qt::Key_Right);
  while (bar->currentIndex() > index) QTest::keyClick(bar, Qt::Key_Left);
}

std::optional<std::string> TermineTest::ListText() const { return ReadFile(ListPath()); }

}  // namespace vesk
