// TDBGrid: a grid over a dataset. It shows the dataset's buffer window: its
// data link asks for as many record buffers as rows are visible, the rows
// are read from those buffers, and the arrow and page keys, the wheel, a
// click on a row and the scroll bar move the dataset's cursor - the grid
// never reads more records than it shows. Columns name a field, a title and
// a width (screen pixels; 0 hides the column); without columns it shows
// every field. Cells can be edited as plain text when dgEditing is set.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/data/data_link.h"

class QScrollBar;
class QTableWidget;
class QKeyEvent;
class QStyledItemDelegate;

namespace vesk {

class TDataSource;

using TDBGridOptions = uint16_t;
inline constexpr TDBGridOptions dgEditing = 1;          // cells can be edited
inline constexpr TDBGridOptions dgTitles = 2;           // column titles shown
inline constexpr TDBGridOptions dgIndicator = 4;        // the record indicator column
inline constexpr TDBGridOptions dgColumnResize = 8;     // the user may resize columns
inline constexpr TDBGridOptions dgColLines = 16;        // lines between columns
inline constexpr TDBGridOptions dgRowLines = 32;        // lines between rows
inline constexpr TDBGridOptions dgTabs = 64;            // Tab moves between cells
inline constexpr TDBGridOptions dgRowSelect = 128;      // whole rows are selected
inline constexpr TDBGridOptions dgConfirmDelete = 256;  // Ctrl+Delete asks first
inline constexpr TDBGridOptions dgCancelOnExit = 512;   // an untouched new record goes when the focus leaves
inline constexpr TDBGridOptions kDefaultGridOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines |
                                                      dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;

struct TColumn {
  std::string fieldName;
  std::string title;  // empty: the field's display name
  int width = 0;
};

class TDBGrid : public QWidget {
 public:
  explicit TDBGrid(QWidget* parent = nullptr);
  ~TDBGrid() override;

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  TDBGridOptions Options() const { return options_; }
  void SetOptions(TDBGridOptions options);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  void AddColumn(std::string fieldName, std::string title, int width);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const TColumn& Column(int index) const { return columns_.at(index); }
  void SetColumnWidth(int index, int width);

  int VisibleRowCount() const;
  // The text a cell shows; the indicator of a row ("▶", "I" editing, "*"
  // inserting, "" other rows).
  std::string CellText(int row, int column) const;
  std::string Indicator(int row) const;
  // The cell area, which holds the focus, and the scroll bar.
  QTableWidget* Table() const { return table_; }
  QScrollBar* ScrollBar() const { return scrollBar_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Link : public TDataLink {
   public:
    explicit Link(TDBGrid& grid) : grid_(grid) {}

   protected:
    void ActiveChanged() override { grid_.LayoutColumns(); }
    void LayoutChanged() override { grid_.LayoutColumns(); }
    void DataSetChanged() override { grid_.Refill(); }
    void RecordChanged(TField*) override { grid_.Refill(); }
    void EditingChanged() override { grid_.Refill(); }
    void UpdateData() override { grid_.CommitEditor(); }

   private:
    TDBGrid& grid_;
  };

  void ApplyOptions();
  void ApplyColumnWidths();
  // Columns of the fields (when none are given), titles, then the rows.
  void LayoutColumns();
  void UpdateRowCount();
  void Refill();
  void UpdateScrollBar();
  void RowChosen(int row);
  void ScrollAction(int action);
  bool GridKey(const QKeyEvent& event);
  void DeleteRecord();
  void WriteCell(int row, int column, const QString& text);
  void CommitEditor();
  TField* FieldOf(int column) const;

  Link link_{*this};
  QTableWidget* table_;
  QScrollBar* scrollBar_;
  QStyledItemDelegate* delegate_;
  QWidget* editor_ = nullptr;
  std::vector<TColumn> columns_;
  bool givenColumns_ = false;
  TDBGridOptions options_ = kDefaultGridOptions;
  bool readOnly_ = false;
  bool filling_ = false;
  // The cell area got the focus (and has not lost it since).
  bool focused_ = false;
};

}  // namespace vesk
