#include "tests/tools/notizen/notizen_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "platform/message_box.h"
#include "platform/registered_messages.h"
#include "runtime/file_io.h"
#include "runtime/format_settings.h"
#include "toolkit/application.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/tab_control.h"
#include "tools/VeskMsg.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

void NotizenTest::SetUp() {
  LibraryWindowTest::SetUp();
  SetFormatSettings(FormatSettings{});
  SetNow(2026, 12, 8, 8, 15);
}

void NotizenTest::TearDown() {
  LibraryWindowTest::TearDown();
  SetClockForTesting({});
}

void NotizenTest::SetNow(int year, int month, int day, int hour, int minute) {
  const TDateTime now = EncodeDate(year, month, day) + EncodeTime(hour, minute, 0, 0);
  SetClockForTesting([now] { return now; });
}

TFRNotizen& NotizenTest::OpenWindow() {
  window_ = new TFRNotizen();
  window_->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
  return *window_;
}

void NotizenTest::CloseWindow() {
  window_->Close();
  ProcessEvents();
}

void NotizenTest::AddNote(const std::string& keyword) {
  QTest::mouseClick(window_->DBNvNotizen->Button(nbInsert), Qt::LeftButton);
  ASSERT_TRUE(window_->EdStichwort->hasFocus());
  QTest::keyClicks(window_->EdStichwort, QString::fromStdString(keyword));
  QTest::mouseClick(window_->DBNvNotizen->Button(nbPost), Qt::LeftButton);
  ASSERT_TRUE(errors_.empty()) << errors_.front();
}

void NotizenTest::SelectTab(int index) {
  QTabBar* bar = window_->TCNotizen->TabBar();
  while (bar->currentIndex() < index) QTest::keyClick(bar, Qt::Key_Right);
  while (bar->currentIndex() > index) QTest::keyClick(bar, Qt::Key_Left);
}

void NotizenTest::AddPage(const std::function<void(TDlgNeueseite&)>& answer, int onTab) {
  bool answered = false;
  int ticksAfter = 0;
  auto* poll = new QTimer(window_);
  QObject::connect(poll, &QTimer::timeout, poll, [&answered, &ticksAfter, answer, poll] {
    if (DlgNeueseite.isNull() || !DlgNeueseite->isVisible()) return;
    if (!answered) {
      answered = true;
      answer(*DlgNeueseite);
    } else if (++ticksAfter == 100) {
      ADD_FAILURE() << "the answer did not close the dialog";
      DlgNeueseite->Close();
    }
  });
  poll->start(10);
  TTabControl& tabs = *window_->TCNotizen;
  if (onTab < 0) {
    QTest::mouseClick(&tabs, Qt::RightButton, {}, QPoint(3, tabs.height() - 3));
  } else {
    QTest::mouseClick(tabs.TabBar(), Qt::RightButton, {}, tabs.TabBar()->tabRect(onTab).center());
  }
  delete poll;
  EXPECT_TRUE(answered) << "no dialog";
  EXPECT_TRUE(DlgNeueseite.isNull());
  // The keyboard is the window's again.
  EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
}

std::vector<std::string> NotizenTest::Keywords() {
  std::vector<std::string> keywords;
  TRadiRidir& table = *window_->MTbNotizen;
  for (table.First(); !table.Eof(); table.Next()) keywords.push_back(table.FieldByName("Stichwort")->AsString());
  return keywords;
}

void NotizenTest::PressCtrlC(Qt::KeyboardModifiers modifiers) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus != nullptr ? focus : window_.data(), Qt::Key_C, modifiers);
}

std::optional<std::string> NotizenTest::ListText() const { return ReadFile(ListPath()); }

}  // namespace vesk
