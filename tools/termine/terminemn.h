// TFRTermine: the appointments window. Date, time, place and a remark of
// each appointment in the table Data/termine.mti, listed in date and time
// order; its tab row shows all appointments or those of one weekday of the
// coming seven days. Closing it writes the reminder list termine.sav and
// tells the host; the window is hidden, not freed, and opens its table again
// when it is shown again.
#pragma once

#include <string>

#include "toolkit/db_navigator.h"
#include "toolkit/form.h"
#include "tools/tables/table_schemas.h"

namespace vesk {

class TDataSource;
class TDateTimeField;
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TLabel;
class TMemoField;
class TPanel;
class TRadiRidir;
class TStringField;
class TTabControl;
class TToolBar;

class TFRTermine : public TForm {
 public:
  TFRTermine();

  // The reminder list has been written since the table was opened.
  bool ListSaved() const { return listSaved_; }

  // Event handlers.
  void FormCreate(TForm& sender);
  void FormActivate(TForm& sender);
  void DBNvTermineClick(TDBNavigator& sender, TNavigateBtn button);
  void TCTermineChange(TTabControl& sender);
  void FormCloseQuery(TForm& sender, bool& canClose);
  void FormDestroy(TForm& sender);

  TToolBar* ToolBar1;
  TDBNavigator* DBNvTermine;
  TPanel* Panel2;
  TTabControl* TCTermine;
  TLabel* LbDatum;
  TDBEdit* EdDatum;
  TLabel* LbUhrzeit;
  TDBEdit* EdUhrzeit;
  TLabel* LbOrt;
  TDBEdit* EdOrt;
  TLabel* LbBemerkung;
  TDBMemo* MmBemerkung;
  TLabel* LbTerminliste;
  TDBGrid* DBGrTermine;
  TDataSource* DSTermine;
  TRadiRidir* MTbTermine;
  TDateTimeField* MTbTermineDatum;
  TStringField* MTbTermineOrt;
  TDateTimeField* MTbTermineUhrzeit;
  TMemoField* MTbTermineBemerkung;

 private:
  void CreateComponents();
  void CreateControls();
  // Opens the table in date and time order.
  void OpenTable();
  // Writes termine.sav from today's and later appointments, closes the
  // table and tells the host.
  void SaveList();

  bool listSaved_ = false;
};

}  // namespace vesk
