// TDlgTelefon: the host's dialog "Telefon" for the SIP account the address
// window dials with and the microphone and speaker its calls go through,
// kept in section "Telefon" of the host's INI file. The password is shown
// as dots and never leaves the dialog but through password_store.h, into
// the desktop's secret store or that file.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vesk {

class TDlgTelefon : public QDialog {
 public:
  // Shows the account stored in iniFile.
  TDlgTelefon(std::string iniFile, QWidget* parent);

  // Writes the account and closes; a file that cannot be written is told
  // to the user and the dialog stays open.
  void accept() override;

 private:
  std::string iniFile_;
  QLineEdit* identity_;
  QLineEdit* registrar_;
  QLineEdit* user_;
  QLineEdit* password_;
  QComboBox* transport_;
  QLineEdit* proxy_;
  QCheckBox* register_;
  QComboBox* microphone_;
  QComboBox* speaker_;
};

}  // namespace vesk
