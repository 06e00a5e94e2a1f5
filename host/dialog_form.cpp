#include "host/dialog_form.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace vesk {

QLineEdit* FormEdit(const std::string& text, const char* name, const char* placeholder, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setObjectName(name);
  edit->setPlaceholderText(QString::fromUtf8(placeholder));
  return edit;
}

std::string Trimmed(const QLineEdit* edit) { return edit->text().trimmed().toStdString(); }

void AddOkAndCancel(QFormLayout& form, QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setObjectName("OK");
  buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole)->setObjectName("Abbrechen");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form.addRow(buttons);
}

}  // namespace vesk
