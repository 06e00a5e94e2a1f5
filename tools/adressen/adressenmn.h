// TFRAdressen: the address book window. One address of the table
// Data/adressen.mti at a time, in alphabetical order; its tab row shows all
// addresses, those whose name begins with one letter, or those of one of
// the user's category pages (kept in adressen.txt in the program folder;
// a right click on the tab row adds one). A double click on the mail or web
// address opens it. Closing it writes the category list, tells the host
// and frees the window.
#pragma once

#include <memory>

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

  std::unique_ptr<TCategoryPages> pages_;
};

}  // namespace vesk
