// What the host's account dialogs share: a named line edit with its
// placeholder, its text trimmed, and the row of OK and Abbrechen.
#pragma once

#include <string>

class QDialog;
class QFormLayout;
class QLineEdit;
class QWidget;

namespace vesk {

QLineEdit* FormEdit(const std::string& text, const char* name, const char* placeholder, QWidget* parent);
std::string Trimmed(const QLineEdit* edit);
// OK accepts the dialog, Abbrechen (and Esc) rejects it.
void AddOkAndCancel(QFormLayout& form, QDialog& dialog);

}  // namespace vesk
