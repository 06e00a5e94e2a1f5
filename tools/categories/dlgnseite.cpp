#include "tools/categories/dlgnseite.h"

#include <QLineEdit>
#include <memory>
#include <optional>

#include "platform/message_box.h"
#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/design_scale.h"
#include "toolkit/label.h"
#include "toolkit/tab_order.h"
#include "tools/categories/category_pages.h"

namespace vesk {

QPointer<TDlgNeueseite> DlgNeueseite;

namespace {

constexpr char kNoTitle[] = "Ohne Beschreibung kann keine neue Seite eingefügt werden";

// Frees the dialog and forgets the library-wide reference to it.
struct DialogFree {
  void operator()(TDlgNeueseite* dialog) const {
    DlgNeueseite = nullptr;
    dialog->Free();
  }
};

}  // namespace

TDlgNeueseite::TDlgNeueseite(TForm& owner) : TForm("TDlgNeueseite", "Text") {
  // A dialog window of the owner: it stands over it and goes with it.
  setParent(&owner, Qt::Dialog);
  BeginLoading();
  SetName("DlgNeueseite");
  setObjectName("DlgNeueseite");
  setFont(DesignFont("MS Sans Serif", 13));
  SetBorderStyle(bsDialog);
  SetClientSize(319, 106);
  SetPosition(poDesigned);
  SetDesignPosition(280, 200);

  Label1 = Placed(new TLabel("Geben Sie den Text für die neue Seite ein", this), "Label1", 24, 16, 161, 41);
  Label1->SetAutoSize(false);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);
  EdSeitentext = Placed(new QLineEdit(this), "EdSeitentext", 48, 64, 121, 24);
  BtnOK = Placed(new TButton("&OK", this), "BtnOK", 224, 16, 75, 25);
  BtnOK->SetModalResult(mrOk);
  BtnCancel = Placed(new TButton("&Abbrechen", this), "BtnCancel", 224, 64, 75, 25);
  BtnCancel->SetModalResult(mrCancel);

  SetTabOrder(*EdSeitentext, 0);
  SetTabOrder(*BtnOK, 1);
  SetTabOrder(*BtnCancel, 2);
  BtnOK->setFocus();
  EndLoading();
}

std::string TDlgNeueseite::Text() const { return EdSeitentext->text().toStdString(); }

namespace {

// The title typed, or nothing when the user cancelled.
std::optional<std::string> AskTitle(TForm& owner) {
  const std::unique_ptr<TDlgNeueseite, DialogFree> dialog(new TDlgNeueseite(owner));
  DlgNeueseite = dialog.get();
  if (dialog->ShowModal() != mrOk) return std::nullopt;
  return dialog->Text();
}

}  // namespace

void AddCategoryPage(TForm& owner, TCategoryPages& pages) {
  const std::optional<std::string> title = AskTitle(owner);
  // The keyboard goes back to the window the dialog stood over.
  owner.activateWindow();
  if (!title) return;
  if (title->empty()) {
    ShowMessageBox({.text = kNoTitle, .caption = Application().Title(), .icon = MbIcon::Information, .owner = &owner});
    return;
  }
  pages.Append(*title);
}

}  // namespace vesk
