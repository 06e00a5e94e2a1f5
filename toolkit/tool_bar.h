// TToolBar: a fixed tool bar of a given design height along the top of a
// window; its controls (a navigator) stand left to right.
#pragma once

#include <QToolBar>

namespace vesk {

class TToolBar : public QToolBar {
 public:
  explicit TToolBar(QWidget* parent = nullptr);
  void SetDesignHeight(int designHeight);
  // The control joins the bar at its own (design) width.
  void AddControl(QWidget* control, int designWidth);
};

}  // namespace vesk
