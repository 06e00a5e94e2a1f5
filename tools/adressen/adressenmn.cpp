#include "tools/adressen/adressenmn.h"

#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/program_folder.h"
#include "toolkit/application.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_memo.h"
#include "toolkit/design_scale.h"
#include "toolkit/label.h"
#include "toolkit/panel.h"
#include "toolkit/record_window_frame.h"
#include "toolkit/status_bar.h"
#include "toolkit/tab_order.h"
#include "tools/adressen/GoToWeb.h"
#include "tools/categories/category_pages.h"
#include "tools/categories/dlgnseite.h"
#include "tools/controls/HistCB.h"
#include "tools/host_notification.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/open_for_editing.h"
#include "tools/table/table_description.h"
#include "tools/tables/table_schemas.h"

namespace vesk {

namespace {

constexpr char kCategoryList[] = "adressen.txt";
constexpr char kTariffSettings[] = "ttarife.ini";
constexpr char kBrowserHint[] = "Doppelklick startet Browser";
// Height of a single-line field, in design pixels.
constexpr int kFieldHeight = 24;
// Labels stand at this left edge and lower than the field they name, so
// that their text sits on the field's text line.
constexpr int kLabelLeft = 8;
constexpr int kLabelDrop = 4;

}  // namespace

TFRAdressen::TFRAdressen() : TForm("TFRAdressen", "Adressen") {
  CreateComponents();
  CreateControls();
  pages_ = std::make_unique<TCategoryPages>(*TCAdressen, kCategoryList, adressen::kName, adressen::kKategorie);
  OnCreate = [this](TForm& sender) { FormCreate(sender); };
  OnActivate = [this](TForm& sender) { FormActivate(sender); };
  OnClose = [this](TForm& sender, TCloseAction& action) { FormClose(sender, action); };
  OnKeyDown = [this](TForm& sender, int& key, TShiftState shift) { FormKeyDown(sender, key, shift); };
  // Everything is in place: the components' Loaded (the zone boxes read
  // their history), then FormCreate.
  BeginLoading();
  EndLoading();
}

// The line goes with its window; notifications still waiting for it are
// discarded.
TFRAdressen::~TFRAdressen() {
  if (lineApp_ != 0) lineShutdown(lineApp_);
}

void TFRAdressen::CreateComponents() {
  MTbAdressen = new TRadiRidir(this);
  MTbAdressen->SetName("MTbAdressen");
  MTbAdressen->OnNewRecord = [this](TDataSet& dataSet) { MTbAdressenNewRecord(dataSet); };
  DSAdressen = CreateRecordSource(this, "DSAdressen", MTbAdressen);
  GTWTools = new TGoToWeb(this);
  GTWTools->SetName("GTWTools");
  GTWTools->SetBrowserState(gwMaximized);
}

void TFRAdressen::CreateControls() {
  SetBorderStyle(bsDialog);
  SetClientSize(477, 455);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  setFont(DesignFont("MS Sans Serif", 14));

  const TRecordWindowFrame frame = CreateRecordWindowFrame(*this, DSAdressen, "DBNvAdressen", 240, "TCAdressen");
  ToolBar1 = frame.toolBar;
  DBNvAdressen = frame.navigator;
  DBNvAdressen->BeforeAction = [this](TDBNavigator& sender, TNavigateBtn button) { DBNvAdressenClick(sender, button); };
  Panel1 = frame.panel;
  Panel1->setObjectName("Panel1");
  TCAdressen = frame.tabs;
  TCAdressen->setFont(DesignFont("MS Sans Serif", 15));
  QPalette palette = TCAdressen->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  TCAdressen->setPalette(palette);
  TCAdressen->SetHotTrack(true);
  TCAdressen->SetTabWidth(32);
  TCAdressen->OnChange = [this](TTabControl& sender) { TCAdressenChange(sender); };
  TCAdressen->OnMouseDown = [this](TTabControl& sender, TMouseButton button, TShiftState shift, int x, int y) {
    TCAdressenMouseDown(sender, button, shift, x, y);
  };
  CreateFields();

  SBAdressen = new TStatusBar(this);
  SBAdressen->setObjectName("SBAdressen");
  SBAdressen->SetDesignHeight(19);
  SBAdressen->SetSimplePanel(true);
  frame.layout->addWidget(SBAdressen);
}

void TFRAdressen::CreateFields() {
  int order = 0;
  auto addLabel = [this](const char* name, const char* caption, int left, int top) {
    auto* label = new TLabel(caption, TCAdressen);
    label->setObjectName(name);
    label->move(Scale(left), Scale(top + kLabelDrop));
    return label;
  };
  auto place = [&order](QWidget& control, const char* name, int left, int top, int width, int height) {
    SetTabOrder(*Placed(&control, name, left, top, width, height), order++);
  };
  auto addEdit = [&](const char* name, const char* field, const char* caption, int left, int top, int width,
                     int labelLeft = kLabelLeft) {
    auto* edit = new TDBEdit(TCAdressen);
    edit->SetDataSource(DSAdressen);
    edit->SetDataField(field);
    place(*edit, name, left, top, width, kFieldHeight);
    addLabel((std::string("Lb") + field).c_str(), caption, labelLeft, top)->SetFocusControl(edit);
    return edit;
  };
  EdName = addEdit("EdName", adressen::kName, "Name", 80, 40, 361);
  EdVorname = addEdit("EdVorname", adressen::kVorname, "Vorname", 80, 68, 361);
  EdPLZ = addEdit("EdPLZ", adressen::kPLZ, "PLZ", 79, 96, 56);
  EdStadt = addEdit("EdStadt", adressen::kStadt, "Stadt", 192, 96, 249, 148);
  EdStrasse = addEdit("EdStrasse", adressen::kStrasse, "Strasse", 79, 124, 301);
  EdTelefon = addEdit("EdTelefon", adressen::kTelefon1, "Telefon 1", 79, 152, 127);
  EdTelefon->SetTag(1);
  EdTelefon->OnDblClick = [this](TDBEdit& sender) { EdTelefonDblClick(sender); };
  EdTelefon2 = addEdit("EdTelefon2", adressen::kTelefon2, "Telefon 2", 79, 180, 127);
  EdTelefon2->SetTag(2);
  EdTelefon2->OnDblClick = [this](TDBEdit& sender) { EdTelefonDblClick(sender); };
  EdFax = addEdit("EdFax", adressen::kFax, "Fax", 79, 208, 127);
  EdEmail = addEdit("EdEmail", adressen::kEmail, "Email", 79, 236, 195);
  EdEmail->setToolTip(kBrowserHint);
  EdEmail->OnDblClick = [this](TDBEdit& sender) { EdEmailDblClick(sender); };
  EdURL = addEdit("EdURL", adressen::kURL, "URL", 79, 264, 362);
  EdURL->setToolTip(kBrowserHint);
  EdURL->OnDblClick = [this](TDBEdit& sender) { EdURLDblClick(sender); };
  MmText = new TDBMemo(TCAdressen);
  MmText->SetDataSource(DSAdressen);
  MmText->SetDataField(adressen::kText);
  place(*MmText, "MmText", 79, 292, 362, 89);
  addLabel("LbText", "Text", kLabelLeft, 292)->SetFocusControl(MmText);

  // Right of the telephone and fax fields: the category, shown on Ctrl+C,
  // and the tariff zones, shown when tariffs are set up.
  constexpr int kRightLabel = 240;
  DBEdKat = new TDBEdit(TCAdressen);
  DBEdKat->SetDataSource(DSAdressen);
  DBEdKat->SetDataField(adressen::kKategorie);
  place(*DBEdKat, "DBEdKat", 316, 208, 125, kFieldHeight);
  lbKat = addLabel("lbKat", "Kategorie", kRightLabel, 208);
  lbKat->SetFocusControl(DBEdKat);
  auto addZone = [&](const char* name, const char* field, int top) {
    auto* box = new TDBHistComboBox(TCAdressen);
    box->SetName(name);
    box->SetStyle(csDropDownList);
    box->SetMaxItem(5);
    box->SetIniFilename(kTariffSettings);
    box->SetIniSection("Tarifzone");
    box->SetDataSource(DSAdressen);
    box->SetDataField(field);
    place(*box, name, 316, top, 125, kFieldHeight);
    return box;
  };
  DBHCTarifzone1 = addZone("DBHCTarifzone1", adressen::kTarifzone1, 152);
  lbTarifzone1 = addLabel("lbTarifzone1", "Tarifzone1", kRightLabel, 152);
  lbTarifzone1->SetFocusControl(DBHCTarifzone1);
  DBHCTarifzone2 = addZone("DBHCTarifzone2", adressen::kTarifzone2, 180);
  lbTarifzone2 = addLabel("lbTarifzone2", "Tarifzone2", kRightLabel, 180);
  lbTarifzone2->SetFocusControl(DBHCTarifzone2);
  for (QWidget* hidden :
       std::initializer_list<QWidget*>{DBEdKat, lbKat, DBHCTarifzone1, lbTarifzone1, DBHCTarifzone2, lbTarifzone2}) {
    hidden->hide();
  }
}

void TFRAdressen::OpenTable() {
  CreateTableWhenMissing(AdressenSchema());
  MTbAdressen->SetTableName(kAdressenTable);
  MTbAdressen->SetFiltered(true);
  if (OpenForEditing(*MTbAdressen, "Die Adressen")) {
    MTbAdressen->AddIndexWhenMissing(kNameIndex, kNameIndexFields, true);
  }
  // A table made elsewhere and open for reading only may lack the index.
  const std::vector<std::string> indexes = IndexNames(*MTbAdressen);
  if (std::find(indexes.begin(), indexes.end(), kNameIndex) != indexes.end()) MTbAdressen->SetIndexName(kNameIndex);
}

void TFRAdressen::ShowTariffZones() {
  for (auto [box, label] : {std::pair{DBHCTarifzone1, lbTarifzone1}, std::pair{DBHCTarifzone2, lbTarifzone2}}) {
    // The empty choice lets an address have no zone.
    std::vector<std::string> items = box->Items();
    items.insert(items.begin(), std::string());
    box->SetItems(items);
    box->show();
    label->show();
  }
}

void TFRAdressen::FormCreate(TForm&) {
  // Without its table the window still shows its pages and keeps its
  // category list; the reason is shown once.
  try {
    OpenTable();
  } catch (const std::exception& error) {
    Application().HandleException(error);
  }
  SetUpLine();
  pages_->Load();
  std::error_code error;
  if (std::filesystem::exists(ProgramFile(kTariffSettings), error)) ShowTariffZones();
}

void TFRAdressen::FormActivate(TForm&) {
  // A record being edited stays as it is until the user posts or cancels
  // it; coming back to the window is no reason to post it.
  if (IsEditState(MTbAdressen->State())) return;
  TCAdressenChange(*TCAdressen);
}

void TFRAdressen::FormClose(TForm&, TCloseAction& action) {
  DropCallAtClose();
  // An address being entered is kept, not dropped with the window; when it
  // cannot be posted, the window stays open with it.
  if (MTbAdressen->Active()) MTbAdressen->CheckBrowseMode();
  pages_->Save();
  MTbAdressen->Close();
  action = caFree;
  NotifyHost(kWindowClosed);
}

void TFRAdressen::FormKeyDown(TForm&, int& key, TShiftState shift) {
  if (shift != ssCtrl) return;
  if (key == Qt::Key_A) HangUp();
  if (key == Qt::Key_C) {
    const bool shown = !DBEdKat->isVisible();
    lbKat->setVisible(shown);
    DBEdKat->setVisible(shown);
  }
}

void TFRAdressen::TCAdressenChange(TTabControl&) { MTbAdressen->SetFilterText(pages_->FilterText()); }

void TFRAdressen::TCAdressenMouseDown(TTabControl&, TMouseButton button, TShiftState, int, int) {
  if (button == mbRight) AddCategoryPage(*this, *pages_);
}

void TFRAdressen::DBNvAdressenClick(TDBNavigator&, TNavigateBtn button) {
  if (button == nbInsert) EdName->setFocus(Qt::OtherFocusReason);
}

void TFRAdressen::MTbAdressenNewRecord(TDataSet& dataSet) {
  const std::string category = pages_->NewRecordCategory();
  if (!category.empty()) dataSet.FieldByName(adressen::kKategorie)->SetAsString(category);
}

void TFRAdressen::EdEmailDblClick(TDBEdit& sender) {
  GTWTools->SetEMail(sender.Text());
  GTWTools->OpenEMail();
}

void TFRAdressen::EdURLDblClick(TDBEdit& sender) {
  GTWTools->SetUrl(sender.Text());
  GTWTools->OpenUrl();
}

}  // namespace vesk
