#include "toolkit/label.h"

namespace vesk {

TLabel::TLabel(const std::string& caption, QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  SetCaption(caption);
}

void TLabel::SetCaption(const std::string& caption) {
  setText(QString::fromStdString(caption));
  if (autoSize_) adjustSize();
}

void TLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  if (autoSize_) adjustSize();
}

}  // namespace vesk
