#include "toolkit/status_bar.h"

#include <QLabel>

#include "toolkit/design_scale.h"

namespace vesk {

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent), panel_(new QLabel(this)) {
  setSizeGripEnabled(false);
  panel_->setTextFormat(Qt::PlainText);
  addWidget(panel_, 1);
  panel_->hide();
}

void TStatusBar::SetDesignHeight(int designHeight) { setFixedHeight(Scale(designHeight)); }

void TStatusBar::SetSimplePanel(bool on) {
  simplePanel_ = on;
  panel_->setVisible(on);
}

void TStatusBar::SetSimpleText(std::string text) {
  simpleText_ = std::move(text);
  panel_->setText(QString::fromStdString(simpleText_));
  if (OnSimpleTextChange) OnSimpleTextChange(simpleText_);
}

}  // namespace vesk
