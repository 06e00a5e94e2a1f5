#include "toolkit/db_combo_box.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "toolkit/data/field.h"
#include "toolkit/event_guard.h"

namespace vesk {

TDBComboBox::TDBComboBox(QWidget* parent) : TFieldControl(parent) {
  SetStyle(csDropDown);
  link_.OnDataChange = [this] { ShowField(); };
  link_.OnEditingChange = [this] { ShowField(); };
  link_.OnUpdateData = [this] { link_.Field()->SetText(Text()); };
  connect(this, &QComboBox::activated, this, [this] { Chosen(); });
  ShowField();
}

void TDBComboBox::SetStyle(TComboBoxStyle style) {
  const bool wasEditable = isEditable();
  style_ = style;
  setEditable(style == csDropDown);
  if (isEditable() && !wasEditable) {  // a new line edit
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { link_.SetModified(); });
    lineEdit()->installEventFilter(this);
  }
  ShowField();
}

std::vector<std::string> TDBComboBox::Items() const {
  std::vector<std::string> items;
  for (int i = 0; i < count(); ++i) items.push_back(itemText(i).toStdString());
  return items;
}

void TDBComboBox::SetItems(const std::vector<std::string>& items) {
  showing_ = true;
  clear();
  for (const std::string& item : items) addItem(QString::fromStdString(item));
  showing_ = false;
  ShowField();
}

void TDBComboBox::ShowField() {
  if (link_.Modified()) return;
  showing_ = true;
  const TField* field = link_.Field();
  const QString value = field != nullptr ? QString::fromStdString(field->Text()) : QString();
  // A value listed in another case shows as that entry.
  int index = findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive);
  if (index < 0) index = findText(value, Qt::MatchFixedString);
  setCurrentIndex(index);
  if (isEditable()) setEditText(value);
  showing_ = false;
}

void TDBComboBox::Chosen() {
  if (showing_) return;
  // Going into editing shows the field again; the choice is put back after.
  const int chosen = currentIndex();
  const QString text = currentText();
  bool editing = false;
  if (link_.CanModify()) Guarded([&] { editing = link_.Edit(); });
  if (!editing) {
    QApplication::beep();
    link_.Reset();
    return;
  }
  showing_ = true;
  setCurrentIndex(chosen);
  if (isEditable()) setEditText(text);
  showing_ = false;
  link_.SetModified();
}

void TDBComboBox::keyPressEvent(QKeyEvent* event) {
  // A drop-down list changes its choice by key through activated (Chosen).
  if (isEditable() ? link_.TakeKey(*event, false) : link_.TakeEscape(*event)) return;
  QComboBox::keyPressEvent(event);
}

bool TDBComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
      link_.TakeKey(*static_cast<QKeyEvent*>(event), false))
    return true;
  return QComboBox::eventFilter(watched, event);
}

void TDBComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (event->reason() == Qt::PopupFocusReason) return;  // its own list opened
  link_.FocusLeft(event->reason());
  Guarded([&] { DoExit(); });
}

}  // namespace vesk
