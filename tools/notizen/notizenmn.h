// TFRNotizen: the notebook window. Short notes in the table
// Data/notizen.mti, each with a keyword, a text, the date and time it was
// made and an optional category, shown one at a time in keyword order; the
// tab row shows all notes, those of one initial letter or those of one of
// the user's category pages (kept in notizen.txt). Closing it writes the
// category list, frees the window and tells the host.
#pragma once

#include <memory>

#include "toolkit/db_navigator.h"
#include "toolkit/form.h"
#include "toolkit/tab_control.h"

namespace vesk {

class TCategoryPages;
class TDataSet;
class TDataSource;
class TDateTimeField;
class TDBEdit;
class TDBMemo;
class TDBText;
class TLabel;
class TMemoField;
class TPanel;
class TRadiRidir;
class TStringField;
class TToolBar;

inline constexpr char kNotizenList[] = "notizen.txt";

class TFRNotizen : public TForm {
 public:
  TFRNotizen();
  ~TFRNotizen() override;

  // Event handlers.
  void FormCreate(TForm& sender);
  void FormActivate(TForm& sender);
  void TCNotizenChange(TTabControl& sender);
  void TCNotizenMouseDown(TTabControl& sender, TMouseButton button, TShiftState shift, int x, int y);
  void DBNvNotizenClick(TDBNavigator& sender, TNavigateBtn button);
  void MTbNotizenNewRecord(TDataSet& dataSet);
  void FormKeyDown(TForm& sender, int& key, TShiftState shift);
  void FormClose(TForm& sender, TCloseAction& action);

  TToolBar* ToolBar1;
  TDBNavigator* DBNvNotizen;
  TPanel* Panel1;
  TTabControl* TCNotizen;
  TLabel* LbNotizVom;
  TDBText* TxDatum;
  TLabel* LbUhrzeit;
  TDBText* TxZeit;
  TLabel* lbKat;
  TDBEdit* DBEdKat;
  TLabel* LbStichwort;
  TDBEdit* EdStichwort;
  TLabel* LbText;
  TDBMemo* MmText;
  TDataSource* DSNotizen;
  TRadiRidir* MTbNotizen;
  TDateTimeField* MTbNotizenDatum;
  TDateTimeField* MTbNotizenZeit;
  TStringField* MTbNotizenStichwort;
  TMemoField* MTbNotizenText;
  TStringField* MTbNotizenKategorie;

 private:
  void CreateComponents();
  void CreateControls();
  // Opens the table in keyword order; read-only, after saying so, when
  // another program writes it.
  void OpenTable();

  std::unique_ptr<TCategoryPages> pages_;
};

}  // namespace vesk
