#include "toolkit/db_memo.h"

#include <QKeyEvent>

#include "toolkit/data/field.h"

namespace vesk {

TDBMemo::TDBMemo(QWidget* parent) : TFieldControl(parent) {
  setTabChangesFocus(true);
  link_.OnDataChange = [this] { ShowField(); };
  link_.OnEditingChange = [this] { setReadOnly(!link_.CanModify()); };
  link_.OnUpdateData = [this] { link_.Field()->SetAsString(Text()); };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_) link_.SetModified();
  });
  ShowField();
}

void TDBMemo::ShowField() {
  const TField* field = link_.Field();
  setReadOnly(!link_.CanModify());
  const QString shown = field != nullptr ? QString::fromStdString(field->AsString()) : QString();
  if (shown == toPlainText()) return;
  showing_ = true;
  setPlainText(shown);
  showing_ = false;
}

void TDBMemo::keyPressEvent(QKeyEvent* event) {
  if (link_.TakeKey(*event, true)) return;
  QPlainTextEdit::keyPressEvent(event);
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  link_.FocusLeft(event->reason());
}

}  // namespace vesk
