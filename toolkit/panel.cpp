#include "toolkit/panel.h"

#include "toolkit/design_scale.h"

namespace vesk {

TPanel::TPanel(QWidget* parent) : QFrame(parent) { ApplyFrame(); }

void TPanel::SetBevelOuter(TBevelCut cut) {
  outer_ = cut;
  ApplyFrame();
}

void TPanel::SetBevelInner(TBevelCut cut) {
  inner_ = cut;
  ApplyFrame();
}

void TPanel::SetBorderWidth(int designWidth) {
  const int border = Scale(designWidth);
  setContentsMargins(border, border, border, border);
}

void TPanel::ApplyFrame() {
  // The outer bevel gives the look; an inner one of its own deepens it.
  const TBevelCut look = outer_ != bvNone ? outer_ : inner_;
  setFrameShape(look == bvNone ? QFrame::NoFrame : QFrame::Panel);
  setFrameShadow(look == bvLowered ? QFrame::Sunken : QFrame::Raised);
  setLineWidth(outer_ != bvNone && inner_ != bvNone ? 2 : 1);
}

}  // namespace vesk
