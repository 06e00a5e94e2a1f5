// TDBText: read-only text showing the display text of one field of the
// active record.
#pragma once

#include <QLabel>
#include <string>

#include "toolkit/field_control.h"

namespace vesk {

class TDBText : public TFieldControl<QLabel> {
 public:
  explicit TDBText(QWidget* parent = nullptr);

  std::string Text() const { return text().toStdString(); }
  // Sized to the text each time it changes; default on.
  void SetAutoSize(bool on) { autoSize_ = on; }

 private:
  bool autoSize_ = true;
};

}  // namespace vesk
