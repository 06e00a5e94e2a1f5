// TFRAdressen: the address book window. One address of the table
// Data/adressen.mti at a time, in alphabetical order; its tab row shows all
// addresses, those whose name begins with one letter, or those of one of
// the user's category pages (kept in adressen.txt in the program folder;
// a right click on the tab row adds one). A double click on the mail or web
// address opens it, one on a telephone number dials it, with the network
// prefix of the cheapest tariff in force when tariffs are set up. Closing it
// hangs up, writes the category list, tells the host and frees the window.
#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "platform/telephony/telephony.h"

#include "toolkit/db_navigator.h"
#include "toolkit/form.h"
#include "toolkit/tab_control.h"

namespace vesk {

class TCategoryPages;
class TDataSet;
class TDataSource;
class TDBEdit;
class TDBHistComboBox;
class TDBMemo;
class TGoToWeb;
class TLabel;
class TPanel;
class TRadiRidir;
class TStatusBar;
class TToolBar;

class TFRAdressen : public TForm {
 public:
  TFRAdressen();
  ~TFRAdressen() override;

  // The category pages of the tab row.
  TCategoryPages& Pages() { return *pages_; }

  // Event handlers.
  void FormCreate(TForm& sender);
  void FormActivate(TForm& sender);
  void FormClose(TForm& sender, TCloseAction& action);
  void FormKeyDown(TForm& sender, int& key, TShiftState shift);
  void TCAdressenChange(TTabControl& sender);
  void TCAdressenMouseDown(TTabControl& sender, TMouseButton button, TShiftState shift, int x, int y);
  void DBNvAdressenClick(TDBNavigator& sender, TNavigateBtn button);
  void MTbAdressenNewRecord(TDataSet& dataSet);
  void EdEmailDblClick(TDBEdit& sender);
  void EdURLDblClick(TDBEdit& sender);
  void EdTelefonDblClick(TDBEdit& sender);
  // Dials a number that came from elsewhere (a telephone link of another
  // program) as a double click dials: the address whose Telefon1 or
  // Telefon2 is that number is shown and its zone gives the prefix; a
  // "sip:" or "sips:" address is called as it stands.
  void DialNumber(const std::string& number);
  // The time band test of the tariff lookup.
  void FilterRecord(TDataSet& dataSet, bool& accept);
  // What the line reports (LINE_REPLY, LINE_CALLSTATE, LINE_LINEDEVSTATE),
  // as status text; call states only of the current call.
  void LineNotification(uint32_t device, uint32_t message, intptr_t param1, intptr_t param2);

  TToolBar* ToolBar1;
  TDBNavigator* DBNvAdressen;
  TPanel* Panel1;
  TTabControl* TCAdressen;
  TDBEdit* EdName;
  TDBEdit* EdVorname;
  TDBEdit* EdPLZ;
  TDBEdit* EdStadt;
  TDBEdit* EdStrasse;
  TDBEdit* EdTelefon;
  TDBEdit* EdTelefon2;
  TDBEdit* EdFax;
  TDBEdit* EdEmail;
  TDBEdit* EdURL;
  TDBMemo* MmText;
  TLabel* lbKat;
  TDBEdit* DBEdKat;
  TLabel* lbTarifzone1;
  TDBHistComboBox* DBHCTarifzone1;
  TLabel* lbTarifzone2;
  TDBHistComboBox* DBHCTarifzone2;
  TStatusBar* SBAdressen;
  TDataSource* DSAdressen;
  TRadiRidir* MTbAdressen;
  TGoToWeb* GTWTools;

 private:
  void CreateComponents();
  void CreateControls();
  void CreateFields();
  // Opens the table, for reading only when another program is writing it,
  // in the order of the name index.
  void OpenTable();
  // With the tariff settings file: the zone boxes with an empty choice on
  // top, and their labels.
  void ShowTariffZones();
  // Opens the telephone line; "Fehler" in the status bar, and why in its
  // tooltip, when there is none.
  void SetUpLine();
  // "Fehler" in the status bar, and why in its tooltip.
  void ShowLineProblem(const std::string& problem);
  // The line signed on or lost its registrar; a dial that waited goes now.
  void LineStateChanged(intptr_t state);
  // Dials number (as typed, or an address) with the prefix of the zone in
  // zone box 1 or 2 (0: none): drops a running call, waits, releases it,
  // then places the new one. An undialable number is refused first.
  void Dial(const std::string& number, int zone);
  // Shows the address whose Telefon1 or Telefon2 is number, compared in
  // the national form, on "Alle": 1 or 2 for the field, 0 when there is
  // none (the record shown stays).
  int ShowAddressOf(const std::string& number);
  // Ctrl+A: drops the current call, "Fehler" when that is refused.
  void HangUp();
  // Drops the current call and waits for it to end when the drop is
  // accepted; a refusal passes silently.
  void DropCallAtClose();
  // The network prefix for the zone of telephone field 1 or 2.
  std::string GetNetzvorwahl(int index);

  std::unique_ptr<TCategoryPages> pages_;
  HLineApp lineApp_ = 0;
  HLine line_ = 0;
  HCall call_ = 0;  // the last call placed, also after it has ended
  LineCallParams callParams_;
  bool signingOn_ = false;    // the line waits for its registrar's answer
  bool lineTrouble_ = false;  // the status bar tells why the line is unusable
  struct PendingDial {
    std::string number;
    int zone;
  };
  std::optional<PendingDial> pendingDial_;  // asked for while signing on
};

// The open address window, as the entry point keeps it; the line's
// notifications reach the window through it, and touch nothing once it is
// gone.
extern QPointer<TFRAdressen> FRAdressen;

}  // namespace vesk
