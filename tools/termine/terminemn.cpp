#include "tools/termine/terminemn.h"

#include <vector>

#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/data/string_field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_grid.h"
#include "toolkit/db_memo.h"
#include "toolkit/db_navigator.h"
#include "toolkit/design_scale.h"
#include "toolkit/label.h"
#include "toolkit/panel.h"
#include "toolkit/record_window_frame.h"
#include "toolkit/tab_control.h"
#include "toolkit/tab_order.h"
#include "tools/filter/filter_constant.h"
#include "tools/host_notification.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/new_field.h"
#include "tools/tables/table_schemas.h"
#include "tools/termine/reminder_list.h"

namespace vesk {

namespace {

// Grid columns in the order they stand.
enum { kColUhrzeit, kColOrt, kColDatum };

constexpr const char* kWeekdayTabs[] = {"&Sonntag",    "&Montag",  "&Dienstag", "M&ittwoch",
                                        "D&onnerstag", "&Freitag", "S&amstag"};

// The next day with the weekday (1 = Sunday ... 7 = Saturday) from today on.
TDateTime NextWeekday(int weekday) {
  const TDateTime today = Date();
  const int todayWeekday = DayOfWeek(today);
  return weekday >= todayWeekday ? today + (weekday - todayWeekday) : today + 7 - todayWeekday + weekday;
}

}  // namespace

TFRTermine::TFRTermine() : TForm("TFRTermine", "Termine") {
  setObjectName("FRTermine");
  CreateComponents();
  CreateControls();
  OnCreate = [this](TForm& sender) { FormCreate(sender); };
  OnActivate = [this](TForm& sender) { FormActivate(sender); };
  OnCloseQuery = [this](TForm& sender, bool& canClose) { FormCloseQuery(sender, canClose); };
  OnDestroy = [this](TForm& sender) { FormDestroy(sender); };
  // Everything is in place: the components' Loaded, then FormCreate.
  BeginLoading();
  EndLoading();
}

void TFRTermine::CreateComponents() {
  MTbTermine = new TRadiRidir(this);
  MTbTermine->SetName("MTbTermine");
  MTbTermineDatum = NewField<TDateTimeField>(*MTbTermine, termine::kDatum);
  MTbTermineDatum->SetDisplayFormat("dd.mm.yyyy");
  MTbTermineDatum->SetEditMask("!90/90/9900;1;_");
  // An appointment needs its day, also in a table made before the table
  // itself said so.
  MTbTermineDatum->SetRequired(true);
  MTbTermineOrt = NewField<TStringField>(*MTbTermine, termine::kOrt);
  MTbTermineOrt->SetSize(termine::kOrtChars);
  MTbTermineUhrzeit = NewField<TDateTimeField>(*MTbTermine, termine::kUhrzeit);
  MTbTermineUhrzeit->SetDisplayFormat("hh:mm");
  MTbTermineUhrzeit->SetEditMask("!90:90;1;_");
  MTbTermineBemerkung = NewField<TMemoField>(*MTbTermine, termine::kBemerkung);
  DSTermine = CreateRecordSource(this, "DSTermine", MTbTermine);
}

void TFRTermine::CreateControls() {
  SetBorderStyle(bsDialog);
  SetClientSize(490, 412);
  setFont(DesignFont("MS Sans Serif", 13));

  const TRecordWindowFrame frame = CreateRecordWindowFrame(*this, DSTermine, "DBNvTermine", 250, "TCTermine");
  ToolBar1 = frame.toolBar;
  DBNvTermine = frame.navigator;
  DBNvTermine->BeforeAction = [this](TDBNavigator& sender, TNavigateBtn button) { DBNvTermineClick(sender, button); };
  Panel2 = frame.panel;
  Panel2->setObjectName("Panel2");
  TCTermine = frame.tabs;
  TCTermine->SetTabWidth(80);
  TCTermine->AddTab("Alle");
  for (const char* tab : kWeekdayTabs) TCTermine->AddTab(tab);
  TCTermine->SetTabIndex(0);
  TCTermine->OnChange = [this](TTabControl& sender) { TCTermineChange(sender); };

  // The record's fields in a column on the left, the list on the right.
  auto addLabel = [this](const char* name, const std::string& caption, int left, int top) {
    auto* label = new TLabel(caption, TCTermine);
    label->setObjectName(name);
    label->move(Scale(left), Scale(top));
    return label;
  };
  auto addEdit = [this](TDBEdit*& edit, const char* name, const char* field, int top, int order) {
    edit = Placed(new TDBEdit(TCTermine), name, 8, top, 97, 24);
    edit->SetDataSource(DSTermine);
    edit->SetDataField(field);
    SetTabOrder(*edit, order);
  };
  LbDatum = addLabel("LbDatum", "Datum", 8, 40);
  addEdit(EdDatum, "EdDatum", termine::kDatum, 56, 0);
  LbUhrzeit = addLabel("LbUhrzeit", "Uhrzeit", 8, 88);
  addEdit(EdUhrzeit, "EdUhrzeit", termine::kUhrzeit, 104, 1);
  LbOrt = addLabel("LbOrt", "Ort", 8, 136);
  addEdit(EdOrt, "EdOrt", termine::kOrt, 152, 2);
  LbBemerkung = addLabel("LbBemerkung", "Bemerkung", 8, 184);
  MmBemerkung = Placed(new TDBMemo(TCTermine), "MmBemerkung", 8, 200, 97, 160);
  MmBemerkung->SetDataSource(DSTermine);
  MmBemerkung->SetDataField(termine::kBemerkung);
  SetTabOrder(*MmBemerkung, 3);

  LbTerminliste = addLabel("LbTerminliste", "Terminliste", 113, 40);
  DBGrTermine = Placed(new TDBGrid(TCTermine), "DBGrTermine", 113, 56, 361, 304);
  DBGrTermine->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete |
                          dgCancelOnExit);
  DBGrTermine->AddColumn(termine::kUhrzeit, "Uhrzeit", Scale(73));
  DBGrTermine->AddColumn(termine::kOrt, "Ort", Scale(185));
  DBGrTermine->AddColumn(termine::kDatum, "Datum", Scale(91));
  DBGrTermine->SetDataSource(DSTermine);
  SetTabOrder(*DBGrTermine, 4);
}

void TFRTermine::OpenTable() {
  MTbTermine->Open();
  MTbTermine->AddIndexWhenMissing(kTermineIndex, "Datum;Uhrzeit");
  MTbTermine->SetIndexName(kTermineIndex);
}

void TFRTermine::FormCreate(TForm&) {
  CreateTableWhenMissing(TermineSchema());
  MTbTermine->SetTableName(kTermineTable);
  OpenTable();
}

void TFRTermine::FormActivate(TForm&) {
  // Shown again after a close: the table and the list's state start anew.
  if (listSaved_) {
    listSaved_ = false;
    OpenTable();
  }
  // A record being edited stays as it is until the user posts or cancels
  // it; coming back to the window is no reason to post it.
  if (IsEditState(MTbTermine->State())) return;
  TCTermineChange(*TCTermine);
}

void TFRTermine::DBNvTermineClick(TDBNavigator&, TNavigateBtn button) {
  // The list, holding the focus, would drop the untouched new record as
  // soon as the user clicks into a field.
  if (button == nbInsert) EdDatum->setFocus(Qt::OtherFocusReason);
}

void TFRTermine::TCTermineChange(TTabControl&) {
  // A pending record is posted (or cancelled) before anything changes, so a
  // record that cannot be posted leaves the window as it was.
  if (MTbTermine->Active()) MTbTermine->CheckBrowseMode();
  const int width = DBGrTermine->width();
  const int tab = TCTermine->TabIndex();
  const int uhrzeit = width / 7;
  if (tab <= 0) {
    MTbTermine->SetFiltered(false);
    const int datum = width / 4;
    DBGrTermine->SetColumnWidth(kColDatum, datum);
    DBGrTermine->SetColumnWidth(kColUhrzeit, uhrzeit);
    DBGrTermine->SetColumnWidth(kColOrt, width - datum - uhrzeit - 30);
    return;
  }
  DBGrTermine->SetColumnWidth(kColDatum, 0);
  DBGrTermine->SetColumnWidth(kColUhrzeit, uhrzeit);
  DBGrTermine->SetColumnWidth(kColOrt, width - uhrzeit - 30);
  MTbTermine->SetFilterText("Datum = " + DateConstant(NextWeekday(tab)));
  MTbTermine->SetFiltered(true);
}

void TFRTermine::FormCloseQuery(TForm&, bool&) {
  // Closed already (or never opened): the list written then stands.
  if (MTbTermine->Active()) SaveList();
}

void TFRTermine::FormDestroy(TForm& sender) {
  bool canClose = true;
  if (!listSaved_) FormCloseQuery(sender, canClose);
}

void TFRTermine::SaveList() {
  const std::string path = ReminderListPath();
  if (!SaveReminderList(path, UpcomingReminders(*MTbTermine))) {
    // The window stays open, showing what its tab says.
    TCTermineChange(*TCTermine);
    throw Exception("Die Terminliste " + path + " konnte nicht geschrieben werden.");
  }
  listSaved_ = true;
  MTbTermine->Close();
  NotifyHost(kReminderListWritten);
}

}  // namespace vesk
