#include "toolkit/db_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "runtime/exceptions.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/event_guard.h"
#include "toolkit/input_hint.h"

namespace vesk {

TDBEdit::TDBEdit(QWidget* parent) : TFieldControl(parent), limit_(new TCharLimit(*this)) {
  limit_->OnLimit = [this] { ShowInputHint(*this, FormatMessage(kSTextLimit, {std::to_string(limit_->Limit())})); };
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
  const int maxLength = field != nullptr && !mask_.IsEmpty() ? mask_.Length() : 32767;
  if (maxLength != this->maxLength()) setMaxLength(maxLength);  // setting it moves the caret
  limit_->SetLimit(field != nullptr && mask_.IsEmpty() ? field->Size() : 0);
  setValidator(limit_->Limit() > 0 ? limit_ : nullptr);
  if (field == nullptr) {
    clear();
    return;
  }
  const std::string value = hasFocus() || link_.Editing() ? field->Text() : field->DisplayText();
  const QString shown = QString::fromStdString(mask_.IsEmpty() ? value : mask_.EditText(value));
  if (shown == text()) return;  // an unchanged text keeps the caret
  setText(shown);
  // Typing goes into the mask's first free position, not behind its end.
  if (!mask_.IsEmpty()) setCursorPosition(std::max(mask_.FirstBlank(Text()), 0));
}

void TDBEdit::WriteField() {
  const std::string text = Text();
  if (mask_.IsEmpty()) {
    link_.Field()->SetText(text);
    return;
  }
  // A part typed shorter than its positions counts as written to the right.
  const std::string aligned = mask_.AlignParts(text);
  if (!mask_.IsBlank(aligned) && !mask_.IsComplete(aligned)) throw Exception(std::string(kSMaskEditError));
  link_.Field()->SetText(mask_.ValueText(aligned));
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
  int next = position;
  while (next < length && mask_.IsLiteral(next)) ++next;
  const char32_t c = typed.toUcs4().value(0);
  if (next < length && mask_.Accepts(next, c)) {
    PutAt(next, c);
    ++next;
    while (next < length && mask_.IsLiteral(next)) ++next;
    setCursorPosition(next);
    return true;
  }
  std::string completed = Text();
  if (!mask_.CompletePart(completed, position, c)) {
    QApplication::beep();
    return true;
  }
  if (completed != Text()) SetChars(QString::fromStdString(completed).toUcs4());
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
  link_.FocusLeft(event->reason());
  if (!link_.Modified()) ShowField();
}

void TDBEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (mask_.IsEmpty() || hasSelectedText()) return;
  const int firstBlank = mask_.FirstBlank(Text());
  if (firstBlank >= 0 && cursorPosition() > firstBlank) setCursorPosition(firstBlank);
}

void TDBEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  if (OnDblClick) Guarded([&] { OnDblClick(*this); });
}

}  // namespace vesk
