#include "toolkit/tool_bar.h"

#include "toolkit/design_scale.h"

namespace vesk {

TToolBar::TToolBar(QWidget* parent) : QToolBar(parent) {
  setMovable(false);
  setFloatable(false);
}

void TToolBar::SetDesignHeight(int designHeight) { setFixedHeight(Scale(designHeight)); }

void TToolBar::AddControl(QWidget* control, int designWidth) {
  control->setFixedWidth(Scale(designWidth));
  addWidget(control);
}

}  // namespace vesk
