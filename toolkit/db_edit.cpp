#include "toolkit/db_edit.h"

#include <QApplication>
#include <QKeyEvent>

#include "runtime/exceptions.h"
#include "toolkit/event_guard.h"
#include "toolkit/field.h"

namespace vesk {

TDBEdit::TDBEdit(QWidget* parent) : TFieldControl(parent) {
  link_.OnDataChange = [this] { ShowField(); };
  link_.OnUpdateData = [this] { WriteField(); };
  link_.OnEditingChange = [this] { ShowField(); };
  connect(this, &QLineEdit::textEdited, this, [this] { link_.SetModified(); });
  ShowField();
}

void TDBEdit::ShowField() {
  const TField* field = link_.Field();
  mask_ = TEditMask(field != nullptr ? field->EditMask() : "");
  setReadOnly(!link_.CanModify());
  const int maxLength = field != nullptr && !mask_.IsEmpty() ? mask_.Length()
                        : field != nullptr && field->Size() > 0 ? field->Size()
                                                                : 32767;
  if (maxLength != this->maxLength()) setMaxLength(maxLength);  // setting it moves the caret
  if (field == nullptr) {
    clear();
    return;
  }
  const std::string value = hasFocus() || link_.Editing() ? field->Text() : field->DisplayText();
  const QString shown = QString::fromStdString(mask_.IsEmpty() ? value : mask_.EditText(value));
  if (shown != text()) setText(shown);  // an unchanged text keeps the caret
}

void TDBEdit::WriteField() {
  const std::string text = Text();
  if (mask_.IsEmpty()) {
    link_.Field()->SetText(text);
    return;
  }
  if (!mask_.IsBlank(text) && !mask_.IsComplete(text)) throw Exception(std::string(kSMaskEditError));
  link_.Field()->SetText(mask_.ValueText(text));
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
  if (link_.TakeKey(*event, false)) return;
  if (!mask_.IsEmpty() && MaskKey(*event)) return;
  QLineEdit::keyPressEvent(event);
}

bool TDBEdit::MaskKey(QKeyEvent& event) {
  if (event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut)) {
    event.accept();  // pasted text would shift the mask positions
    return true;
  }
  const int length = mask_.Length();
  int position = hasSelectedText() ? selectionStart() : cursorPosition();
  if (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete) {
    if (event.key() == Qt::Key_Backspace && !hasSelectedText()) {
      do --position;
      while (position >= 0 && mask_.IsLiteral(position));
      if (position < 0) return true;
    }
    BlankRange(position, hasSelectedText() ? selectionEnd() : position + 1);
    setCursorPosition(position);
    event.accept();
    return true;
  }
  const QString typed = event.text();
  if (typed.isEmpty() || !typed.at(0).isPrint() || (event.modifiers() & Qt::ControlModifier)) return false;
  event.accept();
  if (hasSelectedText()) BlankRange(position, selectionEnd());
  while (position < length && mask_.IsLiteral(position)) ++position;
  const char32_t c = typed.toUcs4().value(0);
  if (position >= length || !mask_.Accepts(position, c)) {
    QApplication::beep();
    return true;
  }
  PutAt(position, c);
  ++position;
  while (position < length && mask_.IsLiteral(position)) ++position;
  setCursorPosition(position);
  return true;
}

void TDBEdit::PutAt(int position, char32_t c) {
  QList<uint> chars = text().toUcs4();
  if (position >= chars.size()) return;
  chars[position] = c;
  SetChars(chars);
}

void TDBEdit::BlankRange(int from, int to) {
  QList<uint> chars = text().toUcs4();
  for (int p = from; p < to && p < chars.size(); ++p)
    if (!mask_.IsLiteral(p)) chars[p] = mask_.BlankChar();
  SetChars(chars);
}

void TDBEdit::SetChars(const QList<uint>& chars) {
  setText(QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), chars.size()));
  link_.SetModified();
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
  if (!link_.Modified()) ShowField();
  QLineEdit::focusInEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  link_.Exit();
  if (!link_.Modified()) ShowField();
}

void TDBEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  if (OnDblClick) Guarded([&] { OnDblClick(*this); });
}

}  // namespace vesk
