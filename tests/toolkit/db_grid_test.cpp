// The grid over a dataset of many records, driven by keys, clicks, the
// wheel and the scroll bar: it shows the buffer window and fetches only
// what it shows; columns, options, deleting, cancel on exit, cell editing.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "form_fixture.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_grid.h"

namespace vesk {
namespace {

class DBGridTest : public FormFixture {
 protected:
  void MakeGrid(int records) {
    Open(records);
    grid = new TDBGrid(form);
    grid->setGeometry(0, 0, 360, 200);
    grid->AddColumn("Nr", "", 50);
    grid->AddColumn("Name", "Titel", 120);
    grid->SetDataSource(source);
    other = new TDBEdit(form);
    other->setGeometry(0, 220, 100, 24);
    ShowForm();
    grid->setFocus();
  }
  QTableWidget* Table() { return grid->Table(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(Table(), key, modifiers); }
  int Nr() { return dataset->FieldByName("Nr")->AsInteger(); }
  // The Nr column of the shown rows, "" for rows below the last record.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int row = 0; row < grid->VisibleRowCount(); ++row) rows.push_back(grid->CellText(row, 0));
    return rows;
  }

  TDBGrid* grid = nullptr;
  TDBEdit* other = nullptr;
};

TEST_F(DBGridTest, ShowsTheBufferWindowAndScrollsThroughIt) {
  MakeGrid(1000);
  const int rows = grid->VisibleRowCount();
  ASSERT_GE(rows, 3);
  EXPECT_EQ(Table()->rowCount(), rows);
  EXPECT_EQ(grid->CellText(0, 1), "Name1");
  EXPECT_EQ(Table()->horizontalHeaderItem(0)->text(), "Nr") << "the field's name by default";
  EXPECT_EQ(Table()->horizontalHeaderItem(1)->text(), "Titel");
  EXPECT_EQ(grid->Indicator(0), "▶");

  for (int i = 1; i < rows; ++i) Key(Qt::Key_Down);
  EXPECT_EQ(Nr(), rows);
  EXPECT_EQ(Table()->currentRow(), rows - 1);
  EXPECT_EQ(grid->CellText(0, 0), "1");
  Key(Qt::Key_Down);  // past the last shown row: the window moves by one
  EXPECT_EQ(Nr(), rows + 1);
  EXPECT_EQ(grid->CellText(0, 0), "2");
  EXPECT_EQ(grid->CellText(rows - 1, 0), std::to_string(rows + 1));
  Key(Qt::Key_PageDown);
  EXPECT_EQ(Nr(), 2 * rows + 1);
  EXPECT_EQ(grid->ScrollBar()->value(), 2 * rows);

  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Nr(), 1000);
  EXPECT_EQ(grid->CellText(rows - 1, 0), "1000");
  EXPECT_EQ(Table()->currentRow(), rows - 1);
  EXPECT_LT(dataset->Fetches(), 20 * rows) << "the grid reads only what it shows";
  QWheelEvent wheel(QPointF(10, 10), Table()->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 240),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Table()->viewport(), &wheel);
  EXPECT_EQ(Nr(), 998);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(Nr(), 1);
  EXPECT_EQ(grid->ScrollBar()->value(), 0);
}

TEST_F(DBGridTest, ClickAndScrollBarMoveTheCursor) {
  MakeGrid(50);
  const QRect cell = Table()->visualItemRect(Table()->item(2, 1));
  QTest::mouseClick(Table()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(Nr(), 3);
  EXPECT_EQ(grid->Indicator(2), "▶");
  EXPECT_EQ(grid->Indicator(0), "");
  grid->ScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Nr(), 50);
  grid->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(Nr(), 49);
  EXPECT_EQ(grid->ScrollBar()->value(), 48);
}

TEST_F(DBGridTest, FewRecordsLeaveEmptyRowsThatCannotBeChosen) {
  MakeGrid(2);
  EXPECT_EQ(Rows()[1], "2");
  EXPECT_EQ(Rows()[2], "");
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  EXPECT_EQ(Nr(), 2);
  const QRect cell = Table()->visualItemRect(Table()->item(3, 0));
  QTest::mouseClick(Table()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(Nr(), 2);
  EXPECT_EQ(Table()->currentRow(), 1);
}

TEST_F(DBGridTest, ColumnsWidthsAndOptions) {
  MakeGrid(3);
  EXPECT_EQ(Table()->columnWidth(1), 120);
  grid->SetColumnWidth(0, 0);
  EXPECT_TRUE(Table()->isColumnHidden(0));
  grid->SetColumnWidth(0, 40);
  EXPECT_FALSE(Table()->isColumnHidden(0));
  EXPECT_EQ(Table()->columnWidth(0), 40);
  grid->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit);
  EXPECT_FALSE(Table()->verticalHeader()->isVisible()) << "no indicator";
  EXPECT_EQ(Table()->editTriggers(), QAbstractItemView::NoEditTriggers);
  Table()->horizontalHeader()->resizeSection(1, 90);  // as a user's drag does
  EXPECT_EQ(grid->Column(1).width, 90);
  Key(Qt::Key_Tab);
  EXPECT_EQ(Table()->currentColumn(), 1) << "Tab moves between cells";
  EXPECT_TRUE(grid->Table()->hasFocus());
}

TEST_F(DBGridTest, CtrlDeleteConfirmsAndCancelOnExit) {
  MakeGrid(3);
  caught.SetAnswer(MbResult::No);
  Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(dataset->StoredCount(), 3);
  caught.SetAnswer(MbResult::Yes);
  Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(dataset->StoredCount(), 2);
  EXPECT_EQ(caught.boxes.size(), 2u);
  EXPECT_EQ(grid->CellText(0, 0), "2");

  dataset->Insert();
  EXPECT_EQ(grid->Indicator(Table()->currentRow()), "*");
  other->setFocus();  // an untouched new record goes when the focus leaves
  EXPECT_EQ(dataset->State(), dsBrowse);
  grid->setFocus();
  dataset->Insert();
  dataset->FieldByName("Name")->SetAsString("behalten");
  other->setFocus();
  EXPECT_EQ(dataset->State(), dsInsert);
  dataset->Cancel();
}

TEST_F(DBGridTest, CellEditingWritesTheField) {
  MakeGrid(3);
  Key(Qt::Key_Down);
  Table()->setCurrentCell(1, 1);
  Key(Qt::Key_F2);
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(editor, Table());
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, "Zwei");
  QTest::keyClick(editor, Qt::Key_Return);
  ProcessEvents();  // the editor commits from a queued call
  EXPECT_EQ(dataset->State(), dsEdit);
  EXPECT_EQ(grid->Indicator(1), "I");
  EXPECT_EQ(grid->CellText(1, 1), "Zwei");
  dataset->Post();
  EXPECT_EQ(Stored(2, "Name"), "Zwei");

  // Without AutoEdit the cell refuses the text.
  source->SetAutoEdit(false);
  dataset->First();
  Table()->setCurrentCell(0, 1);
  Key(Qt::Key_F2);
  editor = QApplication::focusWidget();
  QTest::keyClicks(editor, "Z");
  QTest::keyClick(editor, Qt::Key_Return);
  ProcessEvents();
  EXPECT_EQ(dataset->State(), dsBrowse);
  EXPECT_EQ(grid->CellText(0, 1), "Name1");
}

}  // namespace
}  // namespace vesk
