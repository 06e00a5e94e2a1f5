// TDBMemo: a multi-line edit of one (memo) field, with the editing rules of
// TDBEdit: the first changing key starts editing when the data source
// allows it, the input goes to the field at UpdateRecord and when the focus
// leaves, Escape drops it. Tab moves the focus on.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "toolkit/field_data_link.h"

namespace vesk {

class TDataSource;

class TDBMemo : public QPlainTextEdit {
 public:
  explicit TDBMemo(QWidget* parent = nullptr);

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(std::string name) { link_.SetFieldName(std::move(name)); }
  TField* Field() const { return link_.Field(); }
  std::string Text() const { return toPlainText().toStdString(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowField();

  TFieldDataLink link_;
  bool showing_ = false;
};

}  // namespace vesk
