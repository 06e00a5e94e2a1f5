// TDlgNeueseite: the small modal dialog in which the user types the title of
// a new category page, and AddCategoryPage, which the address and notes
// windows run on a right click on their tab row.
#pragma once

#include <QPointer>
#include <string>

#include "toolkit/form.h"

class QLineEdit;

namespace vesk {

class TButton;
class TCategoryPages;
class TLabel;

class TDlgNeueseite : public TForm {
 public:
  // A dialog standing over owner, which owns it.
  explicit TDlgNeueseite(TForm& owner);

  // The title as typed.
  std::string Text() const;

  TLabel* Label1;
  QLineEdit* EdSeitentext;
  TButton* BtnOK;
  TButton* BtnCancel;
};

// The dialog while AddCategoryPage shows it; empty otherwise.
extern QPointer<TDlgNeueseite> DlgNeueseite;

// Asks for a title over owner; OK with a title appends it to pages as a new
// page and selects it, OK without one says that a page needs a title, Cancel
// does nothing. The dialog is freed whatever happens.
void AddCategoryPage(TForm& owner, TCategoryPages& pages);

}  // namespace vesk
