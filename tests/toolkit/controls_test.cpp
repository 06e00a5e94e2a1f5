// The tab control (change event only on the user's selection and undone
// when it fails, mouse-down with its button, fixed widths that grow to a
// longer caption, appended tabs, mnemonics), labels with
// their focus control, tab order, buttons with modal results, the status
// bar's simple panel and screenshots.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "forms_support.h"
#include "runtime/exceptions.h"
#include "toolkit/button.h"
#include "toolkit/design_scale.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/screenshot.h"
#include "toolkit/status_bar.h"
#include "toolkit/tab_control.h"
#include "toolkit/tab_order.h"

namespace vesk {
namespace {

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    form = new TForm("TFRControls", "Controls");
    form->SetClientSize(480, 300);
  }
  void TearDown() override { form->Free(); }
  void ShowForm() {
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  }

  TForm* form = nullptr;
  CaughtMessages caught;
};

TEST_F(ControlsTest, TabChangeRunsOnTheUsersSelectionOnly) {
  auto* tabs = new TTabControl(form);
  tabs->setGeometry(0, 0, 480, 300);
  std::vector<int> changes;
  tabs->OnChange = [&](TTabControl& control) { changes.push_back(control.TabIndex()); };
  for (const char* caption : {"Alle", "&A", "&B", "&C"}) tabs->AddTab(caption);
  ShowForm();
  EXPECT_EQ(tabs->TabIndex(), 0);
  tabs->SetTabIndex(2);
  EXPECT_TRUE(changes.empty()) << "not when code selects or adds";

  QTabBar* bar = tabs->TabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
  EXPECT_EQ(changes, std::vector<int>{1});
  QTest::mouseClick(bar, Qt::RightButton, Qt::NoModifier, bar->tabRect(3).center());
  EXPECT_EQ(tabs->TabIndex(), 1) << "the right button does not select";
  QTest::keyClick(form, Qt::Key_C, Qt::AltModifier);  // the mnemonic of "&C"
  EXPECT_EQ(changes, (std::vector<int>{1, 3}));
  EXPECT_EQ(tabs->Tab(3), "&C");

  tabs->AddTab("Privat");
  tabs->SetTabIndex(tabs->TabCount() - 1);
  EXPECT_EQ(changes.size(), 2u);
  EXPECT_EQ(tabs->Tabs().back(), "Privat");
}

TEST_F(ControlsTest, TabMouseDownReportsButtonAndPlace) {
  auto* tabs = new TTabControl(form);
  tabs->setGeometry(0, 0, 480, 300);
  tabs->AddTab("Alle");
  tabs->AddTab("&A");
  ShowForm();
  std::vector<std::string> presses;
  tabs->OnMouseDown = [&](TTabControl&, TMouseButton button, TShiftState shift, int x, int y) {
    presses.push_back(std::to_string(button) + "/" + std::to_string(shift) + " " + std::to_string(x) + "," +
                      std::to_string(y));
  };
  const QPoint onTab = tabs->TabBar()->tabRect(1).center();
  QTest::mouseClick(tabs->TabBar(), Qt::RightButton, Qt::NoModifier, onTab);
  QTest::mouseClick(tabs, Qt::RightButton, Qt::ShiftModifier, QPoint(200, 150));  // free space
  QTest::mouseClick(tabs->TabBar(), Qt::LeftButton, Qt::NoModifier, onTab);
  const QPoint inControl = tabs->TabBar()->mapToParent(onTab);
  const std::string tab = std::to_string(inControl.x()) + "," + std::to_string(inControl.y());
  EXPECT_EQ(presses, (std::vector<std::string>{"1/0 " + tab, "1/1 200,150", "0/0 " + tab}));
  EXPECT_EQ(tabs->TabIndex(), 1);

  // A handler's failure is shown, the control goes on.
  tabs->OnMouseDown = [](TTabControl&, TMouseButton, TShiftState, int, int) { throw Exception("kein Dialog"); };
  QTest::mouseClick(tabs, Qt::RightButton, Qt::NoModifier, QPoint(200, 150));
  EXPECT_EQ(caught.errors, std::vector<std::string>{"kein Dialog"});
}

TEST_F(ControlsTest, FixedTabWidthGrowsToACaptionThatNeedsMore) {
  auto* tabs = new TTabControl(form);
  tabs->setGeometry(0, 0, 480, 300);
  tabs->AddTab("X");
  tabs->AddTab("Kundenliste");
  tabs->SetTabWidth(60);
  ShowForm();
  QTabBar* bar = tabs->TabBar();
  // Room for the caption and the style's margins beside it.
  const int needed = bar->fontMetrics().horizontalAdvance("Kundenliste") +
                     bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
  EXPECT_EQ(bar->tabRect(0).width(), Scale(60));
  EXPECT_GE(bar->tabRect(1).width(), needed);
  EXPECT_GT(bar->tabRect(1).width(), Scale(60));
  tabs->SetTabWidth(200);
  EXPECT_EQ(bar->tabRect(1).width(), Scale(200));
  tabs->AddTab("Y");
  EXPECT_EQ(bar->tabRect(2).width(), Scale(200));
  EXPECT_EQ(bar->elideMode(), Qt::ElideNone);
}

TEST_F(ControlsTest, FailingTabChangeKeepsThePreviousTab) {
  auto* tabs = new TTabControl(form);
  tabs->setGeometry(0, 0, 480, 300);
  for (const char* caption : {"Alle", "&A", "&B"}) tabs->AddTab(caption);
  ShowForm();
  std::vector<int> changes;
  tabs->OnChange = [&](TTabControl& control) {
    changes.push_back(control.TabIndex());
    if (control.TabIndex() == 2) throw Exception("Datensatz nicht gespeichert");
  };
  QTabBar* bar = tabs->TabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
  EXPECT_EQ(caught.errors, std::vector<std::string>{"Datensatz nicht gespeichert"});
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(changes, (std::vector<int>{1, 2})) << "going back runs no second change";
  QTest::keyClick(form, Qt::Key_A, Qt::AltModifier);
  QTest::keyClick(form, Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(caught.errors.size(), 2u);
}

TEST_F(ControlsTest, LabelFocusControlAndTabOrder) {
  auto* first = new QLineEdit(form);
  auto* second = new QLineEdit(form);
  auto* third = new QLineEdit(form);
  auto* label = new TLabel("&Name", form);
  label->SetFocusControl(second);
  label->SetHint("Doppelklick startet Browser");
  SetTabOrder(*third, 0);
  SetTabOrder(*first, 2);
  SetTabOrder(*second, 1);
  ShowForm();
  third->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), second);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), first);
  QTest::keyClick(form, Qt::Key_N, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), second);
  EXPECT_EQ(label->toolTip(), "Doppelklick startet Browser");
}

TEST_F(ControlsTest, ButtonsCloseAModalDialogWithTheirResult) {
  auto* ok = new TButton("&OK", form);
  ok->SetModalResult(mrOk);
  auto* cancel = new TButton("&Abbrechen", form);
  cancel->SetModalResult(mrCancel);
  cancel->OnClick = [](TButton&) { throw Exception("bleibt offen"); };
  cancel->move(0, 40);
  QTimer::singleShot(0, form, [&] {
    QTest::mouseClick(cancel, Qt::LeftButton);  // its handler fails: no result
    EXPECT_TRUE(form->isVisible());
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(caught.errors, std::vector<std::string>{"bleibt offen"});
}

TEST_F(ControlsTest, StatusBarSimplePanelAndScreenshot) {
  auto* status = new TStatusBar(form);
  status->SetSimplePanel(true);
  status->SetSimpleText("Fehler");
  status->setGeometry(0, 280, 480, 20);
  ShowForm();
  EXPECT_EQ(status->SimpleText(), "Fehler");
  const std::string path = QDir::temp().filePath("vesk_forms_screenshot.png").toStdString();
  ASSERT_TRUE(SaveScreenshot(*form, path));
  const QImage image(QString::fromStdString(path));
  EXPECT_EQ(image.size(), form->size());
  QFile::remove(QString::fromStdString(path));
  EXPECT_FALSE(SaveScreenshot(*form, "/nonexistent-folder/x.png"));
}

}  // namespace
}  // namespace vesk
