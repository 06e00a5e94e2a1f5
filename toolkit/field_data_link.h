// TFieldDataLink: the data link of a control that shows one field of the
// active record (edit, memo, text, combo box). It finds the field by name
// whenever the dataset opens or its fields change, tells the control when
// the field's value or the editing state changed, and asks it for its
// pending input at UpdateData, only when the control was modified. Input
// the field refuses is reported once and keeps the focus in the control.
#pragma once

#include <Qt>
#include <functional>
#include <string>

#include "toolkit/data/data_link.h"

class QKeyEvent;
class QWidget;

namespace vesk {

class TFieldDataLink : public TDataLink {
 public:
  // The control the link belongs to: it shows the hints and keeps the focus.
  void SetControl(QWidget* control) { control_ = control; }

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name);
  // nullptr while inactive or when the dataset has no such field.
  TField* Field() const { return field_; }
  // The field exists and the dataset and field let themselves be changed.
  bool CanModify() const;

  // The control's text differs from the field's value.
  bool Modified() const { return modified_; }
  void SetModified() { modified_ = true; }
  // Drops the control's input: it shows the field's value again.
  void Reset();

  // Escape with pending input drops it; without, it cancels the record
  // being edited. True when it did either.
  bool TakeEscape(QKeyEvent& event);
  // TakeEscape, then AcceptKey: true when the key is used up here.
  bool TakeKey(QKeyEvent& event, bool multiLine);
  // The control lost the focus: its pending input goes to the field. False
  // when the field refused it (the error display has shown why).
  bool Exit();
  // The focus went from the control to another one of its window: Exit,
  // and when the field refuses the input, the focus comes back to the
  // control, which keeps the user's text. Another window or a popup taking
  // the focus leaves the input pending.
  void FocusLeft(Qt::FocusReason reason);

  // The control shows the field's value (or nothing without a field).
  std::function<void()> OnDataChange;
  // The control writes its text to the field.
  std::function<void()> OnUpdateData;
  std::function<void()> OnEditingChange;

 protected:
  void ActiveChanged() override { UpdateField(); }
  void LayoutChanged() override { UpdateField(); }
  void RecordChanged(TField* field) override;
  void EditingChanged() override;
  void UpdateData() override;

 private:
  void UpdateField();
  void ShowValue();
  // Whether the key may go to the control: keys that do not change its text
  // always, the others when the dataset is (or, with AutoEdit, now goes)
  // into editing and the field can be changed. A refusal shows its reason.
  bool AcceptKey(const QKeyEvent& event, bool multiLine);

  QWidget* control_ = nullptr;
  std::string fieldName_;
  TField* field_ = nullptr;
  bool modified_ = false;
};

}  // namespace vesk
