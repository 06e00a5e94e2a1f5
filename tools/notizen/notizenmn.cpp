#include "tools/notizen/notizenmn.h"

#include <filesystem>

#include "platform/message_box.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "toolkit/application.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/data/string_field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_memo.h"
#include "toolkit/db_text.h"
#include "toolkit/design_scale.h"
#include "toolkit/label.h"
#include "toolkit/panel.h"
#include "toolkit/record_window_frame.h"
#include "toolkit/tab_order.h"
#include "toolkit/tool_bar.h"
#include "tools/categories/category_pages.h"
#include "tools/categories/dlgnseite.h"
#include "tools/host_notification.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/new_field.h"
#include "tools/tables/table_schemas.h"

namespace vesk {

namespace {

constexpr char kReadOnlyNotice[] =
    "Die Notizen werden gerade von einem anderen Programm bearbeitet.\r"
    "Sie können sie hier lesen, aber nicht ändern.";

// A label on the tab row at its design position, sized to its caption.
TLabel* NewLabel(QWidget* parent, const char* name, const char* caption, int left, int top) {
  auto* label = new TLabel(caption, parent);
  label->setObjectName(name);
  label->move(Scale(left), Scale(top));
  return label;
}

// The read-only text of the date or time a note was made.
TDBText* NewCreationText(QWidget* parent, TDataSource* source, const char* name, const char* field, int left, int top) {
  auto* text = new TDBText(parent);
  text->setObjectName(name);
  text->SetDataSource(source);
  text->SetDataField(field);
  text->setFont(DesignFont("MS Sans Serif", 15));
  QPalette palette = text->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
  text->setPalette(palette);
  text->move(Scale(left), Scale(top));
  return text;
}

}  // namespace

TFRNotizen::TFRNotizen() : TForm("TFRNotizen", "Notizen") {
  BeginLoading();
  SetName("FRNotizen");
  setObjectName("FRNotizen");
  CreateComponents();
  CreateControls();
  OnCreate = [this](TForm& sender) { FormCreate(sender); };
  OnActivate = [this](TForm& sender) { FormActivate(sender); };
  OnKeyDown = [this](TForm& sender, int& key, TShiftState shift) { FormKeyDown(sender, key, shift); };
  OnClose = [this](TForm& sender, TCloseAction& action) { FormClose(sender, action); };
  EndLoading();
}

TFRNotizen::~TFRNotizen() = default;

void TFRNotizen::CreateComponents() {
  MTbNotizen = new TRadiRidir(this);
  MTbNotizen->SetName("MTbNotizen");
  MTbNotizen->SetAutoCalcFields(false);
  MTbNotizenDatum = NewField<TDateTimeField>(*MTbNotizen, notizen::kDatum);
  MTbNotizenDatum->SetDisplayFormat("dd.mm.yyyy");
  MTbNotizenZeit = NewField<TDateTimeField>(*MTbNotizen, notizen::kZeit);
  MTbNotizenZeit->SetDisplayFormat("hh:mm");
  MTbNotizenStichwort = NewField<TStringField>(*MTbNotizen, notizen::kStichwort);
  MTbNotizenStichwort->SetSize(notizen::kStichwortChars);
  MTbNotizenText = NewField<TMemoField>(*MTbNotizen, notizen::kText);
  MTbNotizenKategorie = NewField<TStringField>(*MTbNotizen, notizen::kKategorie);
  MTbNotizenKategorie->SetSize(notizen::kKategorieChars);
  MTbNotizen->OnNewRecord = [this](TDataSet& dataSet) { MTbNotizenNewRecord(dataSet); };
  DSNotizen = CreateRecordSource(this, "DSNotizen", MTbNotizen);
}

void TFRNotizen::CreateControls() {
  SetBorderStyle(bsDialog);
  SetClientSize(476, 268);
  SetPosition(poScreenCenter);
  setFont(DesignFont("MS Sans Serif", 14));
  SetKeyPreview(false);

  const TRecordWindowFrame frame = CreateRecordWindowFrame(*this, DSNotizen, "DBNvNotizen", 240, "TCNotizen");
  ToolBar1 = frame.toolBar;
  DBNvNotizen = frame.navigator;
  DBNvNotizen->BeforeAction = [this](TDBNavigator& sender, TNavigateBtn button) { DBNvNotizenClick(sender, button); };
  Panel1 = frame.panel;
  Panel1->setObjectName("Panel1");
  TCNotizen = frame.tabs;
  TCNotizen->SetHotTrack(false);
  TCNotizen->SetTabWidth(24);
  TCNotizen->OnChange = [this](TTabControl& sender) { TCNotizenChange(sender); };
  TCNotizen->OnMouseDown = [this](TTabControl& sender, TMouseButton button, TShiftState shift, int x, int y) {
    TCNotizenMouseDown(sender, button, shift, x, y);
  };
  pages_ = std::make_unique<TCategoryPages>(*TCNotizen, kNotizenList, notizen::kStichwort, notizen::kKategorie);

  LbNotizVom = NewLabel(TCNotizen, "LbNotizVom", "Notiz vom", 12, 36);
  TxDatum = NewCreationText(TCNotizen, DSNotizen, "TxDatum", notizen::kDatum, 80, 36);
  LbUhrzeit = NewLabel(TCNotizen, "LbUhrzeit", "Uhrzeit", 176, 36);
  TxZeit = NewCreationText(TCNotizen, DSNotizen, "TxZeit", notizen::kZeit, 239, 36);

  lbKat = NewLabel(TCNotizen, "lbKat", "Kategorie", 290, 36);
  lbKat->hide();
  DBEdKat = Placed(new TDBEdit(TCNotizen), "DBEdKat", 356, 32, 97, 24);
  DBEdKat->SetDataSource(DSNotizen);
  DBEdKat->SetDataField(notizen::kKategorie);
  DBEdKat->hide();

  LbStichwort = NewLabel(TCNotizen, "LbStichwort", "Stichwort", 12, 86);
  EdStichwort = Placed(new TDBEdit(TCNotizen), "EdStichwort", 80, 82, 373, 24);
  EdStichwort->SetDataSource(DSNotizen);
  EdStichwort->SetDataField(notizen::kStichwort);
  LbText = NewLabel(TCNotizen, "LbText", "Text", 12, 116);
  MmText = Placed(new TDBMemo(TCNotizen), "MmText", 80, 116, 373, 97);
  MmText->SetDataSource(DSNotizen);
  MmText->SetDataField(notizen::kText);

  SetTabOrder(*EdStichwort, 0);
  SetTabOrder(*MmText, 1);
  SetTabOrder(*DBEdKat, 2);
  // No control has the focus when the window opens, so that Ctrl+C reaches it.
  setFocus(Qt::OtherFocusReason);
}

void TFRNotizen::OpenTable() {
  MTbNotizen->SetReadOnly(false);
  try {
    MTbNotizen->Open();
  } catch (const EDatabaseError&) {
    // Held for writing elsewhere: what can be read is shown.
    MTbNotizen->SetReadOnly(true);
    MTbNotizen->Open();
    ShowMessageBox(
        {.text = kReadOnlyNotice, .caption = Application().Title(), .icon = MbIcon::Information, .owner = this});
  }
  MTbNotizen->AddIndexWhenMissing(kNotizenIndex, notizen::kStichwort, true);
  MTbNotizen->SetIndexName(kNotizenIndex);
}

void TFRNotizen::FormCreate(TForm&) {
  pages_->Load();
  TCNotizen->SetTabIndex(0);
  CreateTableWhenMissing(NotizenSchema());
  MTbNotizen->SetTableName(kNotizenTable);
  MTbNotizen->SetFiltered(true);
  OpenTable();
}

void TFRNotizen::FormActivate(TForm&) {
  // A note being edited stays as it is until the user posts or cancels it.
  if (!MTbNotizen->Active() || IsEditState(MTbNotizen->State())) return;
  TCNotizenChange(*TCNotizen);
}

void TFRNotizen::TCNotizenChange(TTabControl&) { MTbNotizen->SetFilterText(pages_->FilterText()); }

void TFRNotizen::TCNotizenMouseDown(TTabControl&, TMouseButton button, TShiftState, int, int) {
  if (button == mbRight) AddCategoryPage(*this, *pages_);
}

void TFRNotizen::DBNvNotizenClick(TDBNavigator&, TNavigateBtn button) {
  if (button == nbInsert) EdStichwort->setFocus(Qt::OtherFocusReason);
}

void TFRNotizen::MTbNotizenNewRecord(TDataSet&) {
  MTbNotizenZeit->SetAsDateTime(Time());
  MTbNotizenDatum->SetAsDateTime(Date());
  if (TCNotizen->TabIndex() >= kFirstCategoryTab) MTbNotizenKategorie->SetAsString(pages_->NewRecordCategory());
}

void TFRNotizen::FormKeyDown(TForm&, int& key, TShiftState shift) {
  if (key != 'C' || shift != ssCtrl) return;
  const bool shown = DBEdKat->isHidden();
  lbKat->setVisible(shown);
  DBEdKat->setVisible(shown);
}

void TFRNotizen::FormClose(TForm&, TCloseAction& action) {
  if (MTbNotizen->Active()) {
    // A note being typed is kept, not dropped with the table.
    MTbNotizen->CheckBrowseMode();
    MTbNotizen->Close();
  }
  try {
    pages_->Save();
  } catch (const Exception&) {
    // The window stays open as it was, so that nothing is lost.
    OpenTable();
    TCNotizenChange(*TCNotizen);
    throw;
  }
  action = caFree;
  NotifyHost(kWindowClosed);
}

}  // namespace vesk
