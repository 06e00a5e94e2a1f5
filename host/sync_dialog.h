// TDlgAbgleich: the host's dialog "Abgleich" for the account the addresses
// are synced with, kept in section Abgleich of the host's INI file: the
// server as the user types it, user, password (shown as dots, kept through
// password_store.h), the address book, the calendar of the appointments,
// the interval and the one certificate the user trusts by its fingerprint.
// "Verbindung prüfen" finds the server's address books and calendars with
// what is typed and offers them; a
// certificate the system does not trust is shown with its fingerprint to be
// trusted. Before a password goes over plain http to another computer the
// dialog asks once.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vesk {

class DavClient;
struct DavAccount;
struct Discovery;

class TDlgAbgleich : public QDialog {
 public:
  // Shows the account stored in iniFile.
  TDlgAbgleich(std::string iniFile, QWidget* parent);
  ~TDlgAbgleich() override;

  // Writes the account and closes; a file that cannot be written is told
  // to the user and the dialog stays open.
  void accept() override;

  // What the last check found, as the dialog shows it.
  std::string CheckResult() const;
  bool Checking() const { return client_ != nullptr; }

 private:
  void Check();
  void Checked(const Discovery& books, const Discovery& calendars);
  DavAccount Typed() const;
  // False when the user does not want the password to travel readable.
  bool ClearTextAccepted();
  void ServerEdited();

  std::string iniFile_;
  QLineEdit* server_;
  QLineEdit* user_;
  QLineEdit* password_;
  QComboBox* book_;
  QComboBox* calendar_;
  QSpinBox* interval_;
  QCheckBox* trust_;
  QLabel* result_;
  QPushButton* check_;
  std::string fingerprint_;            // the certificate the box offers to trust
  std::string acceptedClear_;          // the server the user let the password go to unencrypted
  std::unique_ptr<DavClient> client_;  // while a check runs
};

}  // namespace vesk
