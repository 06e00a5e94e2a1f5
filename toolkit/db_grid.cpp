#include "toolkit/db_grid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/delete_question.h"
#include "toolkit/event_guard.h"
#include "toolkit/focus_change.h"

namespace vesk {

namespace {

// Draws the column and row lines the options ask for, hands edited text to
// the grid and tells it which editor is open.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(QObject* parent, const TDBGridOptions& options, std::function<void(int, int, const QString&)> write,
               QWidget*& editor)
      : QStyledItemDelegate(parent), options_(options), write_(std::move(write)), editor_(editor) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    if (options_ & dgColLines) painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    if (options_ & dgRowLines) painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
  }
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    editor_ = QStyledItemDelegate::createEditor(parent, option, index);
    return editor_;
  }
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    if (editor == editor_) editor_ = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
  }
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    write_(index.row(), index.column(), editor->property("text").toString());
  }

 private:
  const TDBGridOptions& options_;
  std::function<void(int, int, const QString&)> write_;
  QWidget*& editor_;
};

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QWidget(parent), table_(new QTableWidget(this)), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(table_);
  layout->addWidget(scrollBar_);
  setFocusProxy(table_);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setShowGrid(false);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  delegate_ = new CellDelegate(
      this, options_, [this](int row, int column, const QString& text) { WriteCell(row, column, text); }, editor_);
  table_->setItemDelegate(delegate_);
  table_->installEventFilter(this);
  table_->viewport()->installEventFilter(this);
  connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
    if (!filling_ && row != previous) RowChosen(row);
  });
  connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int index, int, int size) {
    if (!filling_ && index < ColumnCount()) columns_[index].width = size;
  });
  connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) { ScrollAction(action); });
  ApplyOptions();
  UpdateRowCount();
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::SetOptions(TDBGridOptions options) {
  options_ = options;
  ApplyOptions();
}

void TDBGrid::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  ApplyOptions();
}

void TDBGrid::ApplyOptions() {
  table_->horizontalHeader()->setVisible(options_ & dgTitles);
  table_->verticalHeader()->setVisible(options_ & dgIndicator);
  table_->horizontalHeader()->setSectionResizeMode(options_ & dgColumnResize ? QHeaderView::Interactive
                                                                             : QHeaderView::Fixed);
  table_->setTabKeyNavigation(options_ & dgTabs);
  table_->setSelectionBehavior(options_ & dgRowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  table_->setEditTriggers((options_ & dgEditing) && !readOnly_
                              ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed
                              : QAbstractItemView::NoEditTriggers);
  table_->viewport()->update();
  UpdateRowCount();
}

void TDBGrid::AddColumn(std::string fieldName, std::string title, int width) {
  if (!givenColumns_) columns_.clear();
  givenColumns_ = true;
  columns_.push_back(TColumn{std::move(fieldName), std::move(title), width});
  LayoutColumns();
}

void TDBGrid::SetColumnWidth(int index, int width) {
  columns_.at(index).width = std::max(width, 0);
  ApplyColumnWidths();
}

void TDBGrid::ApplyColumnWidths() {
  filling_ = true;
  for (int i = 0; i < ColumnCount() && i < table_->columnCount(); ++i) {
    table_->setColumnHidden(i, columns_[i].width == 0);
    if (columns_[i].width > 0) table_->setColumnWidth(i, columns_[i].width);
  }
  filling_ = false;
}

TField* TDBGrid::FieldOf(int column) const {
  if (!link_.Active() || column < 0 || column >= ColumnCount()) return nullptr;
  return link_.DataSet()->FindField(columns_[column].fieldName);
}

void TDBGrid::LayoutColumns() {
  if (!givenColumns_) {
    columns_.clear();
    const TDataSet* dataset = link_.Active() ? link_.DataSet() : nullptr;
    const int charWidth = table_->fontMetrics().averageCharWidth();
    for (int i = 0; dataset != nullptr && i < dataset->FieldCount(); ++i) {
      const TField* field = dataset->Fields(i);
      const int chars = std::clamp(std::max(field->Size(), static_cast<int>(field->DisplayName().size())), 8, 30);
      columns_.push_back(TColumn{field->FieldName(), "", chars * charWidth + 8});
    }
  }
  table_->setColumnCount(ColumnCount());
  for (int i = 0; i < ColumnCount(); ++i) {
    const TField* field = FieldOf(i);
    const std::string& title = columns_[i].title;
    table_->setHorizontalHeaderItem(i, new QTableWidgetItem(FromStd(!title.empty()     ? title
                                                                    : field != nullptr ? field->DisplayName()
                                                                                       : columns_[i].fieldName)));
  }
  ApplyColumnWidths();
  Refill();
}

int TDBGrid::VisibleRowCount() const {
  const int rowHeight = table_->verticalHeader()->defaultSectionSize();
  return std::max(1, table_->viewport()->height() / rowHeight);
}

void TDBGrid::UpdateRowCount() {
  const int rows = VisibleRowCount();
  if (rows == table_->rowCount() && rows == link_.BufferCount()) return;
  filling_ = true;
  table_->setRowCount(rows);
  filling_ = false;
  link_.SetBufferCount(rows);
  Refill();
}

void TDBGrid::Refill() {
  filling_ = true;
  const int rows = table_->rowCount();
  const int count = link_.RecordCount();
  const int active = link_.ActiveRecord();
  const bool editable = (options_ & dgEditing) && !readOnly_;
  for (int row = 0; row < rows; ++row) {
    if (row < count) link_.SetActiveRecord(row);
    for (int column = 0; column < table_->columnCount(); ++column) {
      const TField* field = row < count ? FieldOf(column) : nullptr;
      auto* item = new QTableWidgetItem(field != nullptr ? FromStd(field->DisplayText()) : QString());
      item->setFlags(row < count && editable ? item->flags() | Qt::ItemIsEditable
                                             : item->flags() & ~Qt::ItemIsEditable);
      table_->setItem(row, column, item);
    }
  }
  if (count > 0) link_.SetActiveRecord(active);
  const TDataSetState state = link_.Active() ? link_.DataSet()->State() : dsInactive;
  const QString mark = state == dsInsert ? "*" : state == dsEdit ? "I" : QString::fromUtf8("▶");
  for (int row = 0; row < rows; ++row)
    table_->setVerticalHeaderItem(row, new QTableWidgetItem(row == active && count > 0 ? mark : QString()));
  if (count > 0)
    table_->setCurrentCell(active, std::max(table_->currentColumn(), 0));
  else
    table_->setCurrentCell(-1, -1);
  filling_ = false;
  UpdateScrollBar();
}

std::string TDBGrid::CellText(int row, int column) const {
  const QTableWidgetItem* item = table_->item(row, column);
  return item != nullptr ? item->text().toStdString() : std::string();
}

std::string TDBGrid::Indicator(int row) const {
  const QTableWidgetItem* item = table_->verticalHeaderItem(row);
  return item != nullptr ? item->text().toStdString() : std::string();
}

void TDBGrid::UpdateScrollBar() {
  const QSignalBlocker blocker(scrollBar_);
  const TDataSet* dataset = link_.Active() ? link_.DataSet() : nullptr;
  int value = 0;
  if (dataset == nullptr) {
    scrollBar_->setRange(0, 0);
  } else if (dataset->RecordCount() > 0 && dataset->RecNo() > 0) {
    scrollBar_->setRange(0, dataset->RecordCount() - 1);
    scrollBar_->setPageStep(table_->rowCount());
    value = dataset->RecNo() - 1;
  } else {
    // Position unknown: the start, the middle or the end.
    scrollBar_->setRange(0, 2);
    scrollBar_->setPageStep(1);
    value = dataset->Bof() ? 0 : dataset->Eof() ? 2 : 1;
  }
  scrollBar_->setValue(value);
  scrollBar_->setSliderPosition(value);
}

void TDBGrid::RowChosen(int row) {
  const int active = link_.ActiveRecord();
  if (row >= 0 && row < link_.RecordCount() && row != active)
    Guarded([&] { link_.DataSet()->MoveBy(row - active); });
  else
    Refill();
}

void TDBGrid::ScrollAction(int action) {
  if (!link_.Active()) return;
  TDataSet& dataset = *link_.DataSet();
  const int rows = table_->rowCount();
  Guarded([&] {
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: dataset.Next(); break;
      case QAbstractSlider::SliderSingleStepSub: dataset.Prior(); break;
      case QAbstractSlider::SliderPageStepAdd: dataset.MoveBy(rows); break;
      case QAbstractSlider::SliderPageStepSub: dataset.MoveBy(-rows); break;
      case QAbstractSlider::SliderToMinimum: dataset.First(); break;
      case QAbstractSlider::SliderToMaximum: dataset.Last(); break;
      case QAbstractSlider::SliderMove:
        if (dataset.RecNo() > 0) dataset.MoveBy(scrollBar_->sliderPosition() + 1 - dataset.RecNo());
        break;
      default: break;
    }
  });
  UpdateScrollBar();
}

bool TDBGrid::GridKey(const QKeyEvent& event) {
  TDataSet& dataset = *link_.DataSet();
  const int rows = table_->rowCount();
  const bool ctrl = event.modifiers() & Qt::ControlModifier;
  switch (event.key()) {
    case Qt::Key_Up: Guarded([&] { dataset.Prior(); }); return true;
    case Qt::Key_Down: Guarded([&] { dataset.Next(); }); return true;
    case Qt::Key_PageUp: Guarded([&] { dataset.MoveBy(-rows); }); return true;
    case Qt::Key_PageDown: Guarded([&] { dataset.MoveBy(rows); }); return true;
    case Qt::Key_Home:
      if (!ctrl) return false;
      Guarded([&] { dataset.First(); });
      return true;
    case Qt::Key_End:
      if (!ctrl) return false;
      Guarded([&] { dataset.Last(); });
      return true;
    case Qt::Key_Delete:
      if (!ctrl) return false;
      DeleteRecord();
      return true;
    case Qt::Key_Escape:
      if (!IsEditState(dataset.State())) return false;
      Guarded([&] { dataset.Cancel(); });
      return true;
    default: return false;
  }
}

void TDBGrid::DeleteRecord() {
  TDataSet& dataset = *link_.DataSet();
  if (readOnly_ || dataset.IsEmpty() || !dataset.CanModify()) return;
  Guarded([&] {
    if (!(options_ & dgConfirmDelete) || AskDeleteRecord()) dataset.Delete();
  });
}

void TDBGrid::WriteCell(int row, int column, const QString& text) {
  TField* field = FieldOf(column);
  if (field == nullptr || row != link_.ActiveRecord()) return;
  Guarded([&] {
    if (!link_.Edit()) {
      QApplication::beep();
      return;
    }
    field->SetText(text.toStdString());
  });
}

void TDBGrid::CommitEditor() {
  if (editor_ != nullptr) emit delegate_->commitData(editor_);
}

bool TDBGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_->viewport() && event->type() == QEvent::Resize) {
    UpdateRowCount();
  } else if (watched == table_ && event->type() == QEvent::KeyPress && link_.Active()) {
    if (GridKey(*static_cast<QKeyEvent*>(event))) return true;
  } else if (watched == table_->viewport() && event->type() == QEvent::Wheel && link_.Active()) {
    const int steps = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
    if (steps != 0) Guarded([&] { link_.DataSet()->MoveBy(-steps); });
    return true;
  } else if (watched == table_->viewport() && event->type() == QEvent::MouseButtonPress) {
    // A control of this window that refused to give up the focus (its
    // input was wrong) keeps it, and the click does not move the record.
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->window() == window() && !isAncestorOf(focus);
  } else if (watched == table_ && event->type() == QEvent::FocusIn) {
    focused_ = true;
  } else if (watched == table_ && event->type() == QEvent::FocusOut && focused_ &&
             !isAncestorOf(QApplication::focusWidget()) &&
             FocusMovesToAnotherControl(static_cast<QFocusEvent*>(event)->reason())) {
    focused_ = false;
    TDataSet* dataset = link_.Active() ? link_.DataSet() : nullptr;
    if ((options_ & dgCancelOnExit) && dataset != nullptr && dataset->State() == dsInsert && !dataset->Modified())
      Guarded([&] { dataset->Cancel(); });
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vesk
