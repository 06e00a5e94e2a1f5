// TPanel: a plain container with an outer and an inner bevel (none, lowered
// or raised) and a border width (design pixels) between the bevels and
// what it holds; a layout set on it keeps its children inside the border.
#pragma once

#include <QFrame>
#include <cstdint>

namespace vesk {

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised };

class TPanel : public QFrame {
 public:
  explicit TPanel(QWidget* parent = nullptr);
  void SetBevelOuter(TBevelCut cut);
  void SetBevelInner(TBevelCut cut);
  void SetBorderWidth(int designWidth);

 private:
  void ApplyFrame();

  TBevelCut outer_ = bvRaised;
  TBevelCut inner_ = bvNone;
};

}  // namespace vesk
