// TDBComboBox: a combo box over one field. With csDropDownList the user can
// only pick one of Items; with csDropDown the text may also be typed. The
// choice starts editing when the data source allows it and goes to the
// field at UpdateRecord and when the focus leaves; a field value listed only
// in another case shows as that entry, one not listed at all shows in a
// drop-down list as no selection. Derived controls hook in
// after the base's focus-leave handling (DoExit) and, as a component, after
// their window's loading (Loaded).
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "toolkit/data/component.h"
#include "toolkit/field_control.h"

namespace vesk {

enum TComboBoxStyle : uint8_t { csDropDown, csDropDownList };

class TDBComboBox : public TFieldControl<QComboBox>, public TComponent {
 public:
  explicit TDBComboBox(QWidget* parent = nullptr);

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  std::vector<std::string> Items() const;
  // Replaces the list, then shows the field's value again.
  void SetItems(const std::vector<std::string>& items);
  std::string Text() const { return currentText().toStdString(); }

 protected:
  // Runs after the input went to the field when the focus left.
  virtual void DoExit() {}
  void keyPressEvent(QKeyEvent* event) override;
  // Keys typed into the text of a csDropDown box.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowField();
  void Chosen();

  TComboBoxStyle style_ = csDropDown;
  bool showing_ = false;
};

}  // namespace vesk
