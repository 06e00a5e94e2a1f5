// TFieldDataLink: the data link of a control that shows one field of the
// active record (edit, memo, text, combo box). It finds the field by name
// whenever the dataset opens or its fields change, tells the control when
// the field's value or the editing state changed, and asks it for its
// pending input at UpdateData, only when the control was modified.
#pragma once

#include <functional>
#include <string>

#include "toolkit/data_link.h"

class QKeyEvent;

namespace vesk {

class TFieldDataLink : public TDataLink {
 public:
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

  // Escape with pending input drops it; true when it did.
  bool TakeEscape(QKeyEvent& event);
  // TakeEscape, then AcceptKey: true when the key is used up here.
  bool TakeKey(QKeyEvent& event, bool multiLine);
  // The control lost the focus: its pending input goes to the field.
  void Exit();

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
  // into editing and the field can be changed. A refusal beeps.
  bool AcceptKey(const QKeyEvent& event, bool multiLine);

  std::string fieldName_;
  TField* field_ = nullptr;
  bool modified_ = false;
};

}  // namespace vesk
