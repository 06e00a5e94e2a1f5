// TDBEdit: a single-line edit of one field. It shows the field's text (the
// display text while it has no focus), applies the field's edit mask
// (typing fills the mask positions, the literals stay in place; typing the
// separator that ends a part completes the part with leading zeros and
// goes on to the next, so "1.12.2026" and "9:30" can be typed as read; a
// click behind the input puts the caret on the first free position), holds
// the text of a field with a size to that many characters, starts editing
// on the first changing key when the data source allows it, and writes its
// input to the field when the dataset asks (UpdateRecord) and when the
// focus leaves. Escape drops the input.
#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

#include "toolkit/char_limit.h"
#include "toolkit/data/edit_mask.h"
#include "toolkit/field_control.h"

namespace vesk {

// The text of an edit mask that is typed in only partly.
inline constexpr std::string_view kSMaskEditError = "Fehler in der Eingabe";

class TDBEdit : public TFieldControl<QLineEdit> {
 public:
  explicit TDBEdit(QWidget* parent = nullptr);

  std::string Text() const { return text().toStdString(); }

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  std::function<void(TDBEdit&)> OnDblClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ShowField();
  void WriteField();
  // Typing into the mask; true when the key was a mask key.
  bool MaskKey(QKeyEvent& event);
  void PutAt(int position, char32_t c);
  // Empty mask positions from .. to - 1.
  void BlankRange(int from, int to);
  void SetChars(const QList<uint>& chars);

  TEditMask mask_{""};
  TCharLimit* limit_;
  int tag_ = 0;
};

}  // namespace vesk
