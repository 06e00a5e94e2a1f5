#include "toolkit/field_data_link.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include "runtime/exceptions.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/event_guard.h"
#include "toolkit/focus_change.h"
#include "toolkit/input_hint.h"

namespace vesk {

namespace {

bool ChangesText(const QKeyEvent& event, bool multiLine) {
  switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: return multiLine;
    default: break;
  }
  if (event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut) || event.matches(QKeySequence::Undo) ||
      event.matches(QKeySequence::Redo))
    return true;
  if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
  const QString text = event.text();
  return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

void TFieldDataLink::SetFieldName(std::string name) {
  fieldName_ = std::move(name);
  UpdateField();
}

bool TFieldDataLink::CanModify() const {
  return field_ != nullptr && !field_->ReadOnly() && DataSet() != nullptr && DataSet()->CanModify();
}

void TFieldDataLink::Reset() {
  modified_ = false;
  ShowValue();
}

bool TFieldDataLink::AcceptKey(const QKeyEvent& event, bool multiLine) {
  if (!ChangesText(event, multiLine)) return true;
  bool editing = false;
  const bool canModify = CanModify();
  if (canModify && !Guarded([&] { editing = Edit(); })) return false;  // the error display told why
  if (editing || control_ == nullptr) return editing;
  if (canModify)
    ShowInputHint(*control_, kSEditFirst);  // automatic edit is off
  else
    ShowInputHint(*control_, field_ != nullptr ? FormatMessage(kSFieldReadOnly, {field_->DisplayName()})
                                               : std::string(kSDataSetReadOnly));
  return false;
}

bool TFieldDataLink::TakeEscape(QKeyEvent& event) {
  if (event.key() != Qt::Key_Escape) return false;
  if (modified_)
    Reset();
  else if (Active() && Editing())
    Guarded([&] { DataSet()->Cancel(); });
  else
    return false;
  event.accept();
  return true;
}

bool TFieldDataLink::TakeKey(QKeyEvent& event, bool multiLine) {
  if (TakeEscape(event)) return true;
  if (AcceptKey(event, multiLine)) return false;
  event.accept();
  return true;
}

bool TFieldDataLink::Exit() {
  if (!Active() || !Editing() || !modified_) return true;
  return Guarded([&] { UpdateRecord(); });
}

void TFieldDataLink::FocusLeft(Qt::FocusReason reason) {
  if (!FocusMovesToAnotherControl(reason)) return;
  if (!Exit() && control_ != nullptr) control_->setFocus(Qt::OtherFocusReason);
}

void TFieldDataLink::RecordChanged(TField* field) {
  if (field != nullptr && field != field_) return;
  modified_ = false;
  ShowValue();
}

void TFieldDataLink::EditingChanged() {
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::UpdateData() {
  if (!modified_ || field_ == nullptr) return;
  if (OnUpdateData) OnUpdateData();
  modified_ = false;
}

void TFieldDataLink::UpdateField() {
  field_ = Active() && !fieldName_.empty() ? DataSet()->FindField(fieldName_) : nullptr;
  modified_ = false;
  ShowValue();
}

void TFieldDataLink::ShowValue() {
  if (OnDataChange) OnDataChange();
}

}  // namespace vesk
