// A window laid out like the appointments window - tool bar with navigator,
// lowered panel, tab control with masked date and time edits, a memo and a
// grid - used end to end: a new appointment typed in and posted shows in
// the grid, a weekday tab hides the date column. With VESK_SCREENSHOT_DIR
// set, the window's picture is written there.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>

#include "form_fixture.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_grid.h"
#include "toolkit/db_memo.h"
#include "toolkit/db_navigator.h"
#include "toolkit/design_scale.h"
#include "toolkit/label.h"
#include "toolkit/panel.h"
#include "toolkit/screenshot.h"
#include "toolkit/tab_control.h"
#include "toolkit/tab_order.h"
#include "toolkit/tool_bar.h"

namespace vesk {
namespace {

class WindowLayoutTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    dataset->AddColumn("Datum", ftDate);
    dataset->AddColumn("Ort", ftString, 50);
    dataset->AddColumn("Uhrzeit", ftTime);
    dataset->AddColumn("Bemerkung", ftMemo);
    dataset->Open();
    auto* datum = dynamic_cast<TDateTimeField*>(dataset->FieldByName("Datum"));
    datum->SetDisplayFormat("dd.mm.yyyy");
    datum->SetEditMask("!90/90/9900;1;_");
    auto* uhrzeit = dynamic_cast<TDateTimeField*>(dataset->FieldByName("Uhrzeit"));
    uhrzeit->SetDisplayFormat("hh:mm");
    uhrzeit->SetEditMask("!90:90;1;_");
    source->SetAutoEdit(false);

    form->SetClientSize(490, 412);
    form->SetBorderStyle(bsDialog);
    form->setFont(DesignFont("MS Sans Serif", 14));
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* toolBar = new TToolBar(form);
    toolBar->SetDesignHeight(30);
    navigator = new TDBNavigator(toolBar);
    navigator->SetDataSource(source);
    navigator->SetShowHint(true);
    toolBar->AddControl(navigator, 240);
    layout->addWidget(toolBar);
    auto* panel = new TPanel(form);
    panel->SetBevelOuter(bvNone);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(4);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(panel->contentsMargins());
    layout->addWidget(panel);
    tabs = new TTabControl(panel);
    tabs->SetTabWidth(80);
    for (const char* tab :
         {"Alle", "&Sonntag", "&Montag", "&Dienstag", "M&ittwoch", "D&onnerstag", "&Freitag", "S&amstag"})
      tabs->AddTab(tab);
    panelLayout->addWidget(tabs);

    edDatum = Edit("Datum", "Datum", 60, 40, 90, 0);
    edUhrzeit = Edit("Uhrzeit", "Uhrzeit", 220, 40, 60, 1);
    edOrt = Edit("Ort", "Ort", 60, 72, 361, 2);
    memo = new TDBMemo(tabs);
    SetDesignBounds(*memo, 60, 104, 361, 60);
    memo->SetDataSource(source);
    memo->SetDataField("Bemerkung");
    SetTabOrder(*memo, 3);
    grid = new TDBGrid(tabs);
    SetDesignBounds(*grid, 60, 180, 361, 150);
    grid->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit);
    grid->AddColumn("Uhrzeit", "", Scale(73));
    grid->AddColumn("Ort", "", Scale(185));
    grid->AddColumn("Datum", "", Scale(91));
    grid->SetDataSource(source);
    SetTabOrder(*grid, 4);
    tabs->OnChange = [this](TTabControl& control) {
      const int width = grid->width();
      const bool all = control.TabIndex() == 0;
      grid->SetColumnWidth(2, all ? width / 4 : 0);
      grid->SetColumnWidth(0, width / 7);
      grid->SetColumnWidth(1, width - grid->Column(2).width - grid->Column(0).width - 30);
    };
    ShowForm();
  }
  TDBEdit* Edit(const char* label, const char* field, int left, int top, int width, int order) {
    auto* edit = new TDBEdit(tabs);
    SetDesignBounds(*edit, left, top, width, 24);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    auto* caption = new TLabel(label, tabs);
    caption->move(Scale(left - 50), Scale(top + 4));
    caption->SetFocusControl(edit);
    SetTabOrder(*edit, order);
    return edit;
  }
  void Type(TDBEdit* edit, const char* keys) {
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, keys);
  }

  TDBNavigator* navigator = nullptr;
  TTabControl* tabs = nullptr;
  TDBEdit* edDatum = nullptr;
  TDBEdit* edUhrzeit = nullptr;
  TDBEdit* edOrt = nullptr;
  TDBMemo* memo = nullptr;
  TDBGrid* grid = nullptr;
};

TEST_F(WindowLayoutTest, NewAppointmentTypedInShowsInTheGrid) {
  EXPECT_EQ(form->size(), QSize(Scale(490), Scale(412)));
  EXPECT_EQ(navigator->width(), Scale(240));
  QTest::keyClicks(edOrt, "x");
  EXPECT_EQ(dataset->State(), dsBrowse) << "no automatic editing";

  QTest::mouseClick(navigator->Button(nbInsert), Qt::LeftButton);
  ASSERT_EQ(dataset->State(), dsInsert);
  EXPECT_EQ(edDatum->Text(), TEditMask("!90/90/9900;1;_").EditText(""));
  Type(edDatum, "03032026");
  Type(edUhrzeit, "1405");
  Type(edOrt, "Bonn");
  memo->setFocus();
  QTest::keyClicks(memo, "Zahnarzt");
  QTest::keyClick(memo, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(grid->Table())) << "tab order";
  QTest::mouseClick(navigator->Button(nbPost), Qt::LeftButton);
  ASSERT_TRUE(caught.errors.empty()) << caught.errors.front();
  ASSERT_EQ(dataset->StoredCount(), 1);
  EXPECT_EQ(dataset->FieldByName("Datum")->AsDateTime(), EncodeDate(2026, 3, 3));
  EXPECT_EQ(dataset->FieldByName("Uhrzeit")->DisplayText(), "14:05");
  EXPECT_EQ(grid->CellText(0, 0), "14:05");
  EXPECT_EQ(grid->CellText(0, 1), "Bonn");
  EXPECT_EQ(grid->CellText(0, 2), "03.03.2026");
  EXPECT_EQ(edDatum->Text(), "03.03.2026");

  // An incomplete time is refused at the post; the record stays in editing.
  // (A part typed short, as "1_", counts as "01"; an empty one is missing.)
  QTest::mouseClick(navigator->Button(nbEdit), Qt::LeftButton);
  edUhrzeit->setFocus();
  edUhrzeit->setSelection(3, 2);  // the minutes, required
  QTest::keyClick(edUhrzeit, Qt::Key_Delete);
  EXPECT_EQ(edUhrzeit->Text(), TEditMask("!90:90;1;_").EditText("14:__"));
  QTest::mouseClick(navigator->Button(nbPost), Qt::LeftButton);
  EXPECT_EQ(caught.errors, std::vector<std::string>{std::string(kSMaskEditError)});
  EXPECT_EQ(dataset->State(), dsEdit);
  QTest::mouseClick(navigator->Button(nbCancel), Qt::LeftButton);
  EXPECT_EQ(edUhrzeit->Text(), "14:05");

  if (const char* folder = std::getenv("VESK_SCREENSHOT_DIR")) {
    EXPECT_TRUE(SaveScreenshot(*form, std::string(folder) + "/toolkit_appointments_layout.png"));
  }
}

TEST_F(WindowLayoutTest, WeekdayTabHidesTheDateColumn) {
  QTabBar* bar = tabs->TabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
  const int width = grid->width();
  EXPECT_EQ(grid->Column(2).width, 0);
  EXPECT_EQ(grid->Column(0).width, width / 7);
  EXPECT_EQ(grid->Column(1).width, width - width / 7 - 30);
  EXPECT_GE(bar->tabRect(2).width(), Scale(80)) << "wider where the caption needs it";
  tabs->SetTabIndex(0);  // code: no change event, the widths stay
  EXPECT_EQ(grid->Column(2).width, 0);
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
  EXPECT_EQ(grid->Column(2).width, width / 4);
}

}  // namespace
}  // namespace vesk
