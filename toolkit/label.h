// TLabel: a caption beside a control. An "&" in the caption marks the
// letter that, with Alt, moves the focus to FocusControl; the hint shows
// on hover; with AutoSize (default) the label fits its caption.
#pragma once

#include <QLabel>
#include <string>

namespace vesk {

class TLabel : public QLabel {
 public:
  explicit TLabel(const std::string& caption = "", QWidget* parent = nullptr);
  void SetCaption(const std::string& caption);
  void SetFocusControl(QWidget* control) { setBuddy(control); }
  void SetHint(const std::string& hint) { setToolTip(QString::fromStdString(hint)); }
  void SetAutoSize(bool on);

 private:
  bool autoSize_ = true;
};

}  // namespace vesk
