// TDBMemo: a multi-line edit of one (memo) field, with the editing rules of
// TDBEdit: the first changing key starts editing when the data source
// allows it, the input goes to the field at UpdateRecord and when the focus
// leaves, Escape drops it. Tab moves the focus on.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "toolkit/field_control.h"

namespace vesk {

class TDBMemo : public TFieldControl<QPlainTextEdit> {
 public:
  explicit TDBMemo(QWidget* parent = nullptr);

  std::string Text() const { return toPlainText().toStdString(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowField();

  bool showing_ = false;
};

}  // namespace vesk
