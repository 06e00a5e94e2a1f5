// TTabControl: a row of tabs over a client area on which other controls
// stand (the tabs do not switch pages; the window reacts to the selected
// tab). Captions may carry "&" mnemonics (Alt+letter selects the tab); all
// tabs can share one fixed width; tabs can be appended at run time.
// OnChange runs when the user selects a tab (click, keys, mnemonic), not
// when code sets TabIndex or adds tabs; when it fails, the tab selected
// before is selected again. A fixed tab width grows for a caption that
// needs more. OnMouseDown reports every button
// pressed anywhere on the control, on a tab or on free space (a label
// counts as free space; an input control on it keeps its own presses).
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/form.h"

class QTabBar;

namespace vesk {

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

class TTabControl;
using TTabNotifyEvent = std::function<void(TTabControl&)>;
// x and y relative to the control.
using TTabMouseEvent = std::function<void(TTabControl&, TMouseButton, TShiftState, int x, int y)>;

class TTabControl : public QWidget {
 public:
  explicit TTabControl(QWidget* parent = nullptr);

  int TabCount() const;
  std::string Tab(int index) const;
  std::vector<std::string> Tabs() const;
  void AddTab(const std::string& caption);
  // -1 without tabs.
  int TabIndex() const;
  // Selects without running OnChange.
  void SetTabIndex(int index);

  // Width of every tab in design pixels; 0: each as wide as its caption.
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int designWidth);
  bool HotTrack() const;
  void SetHotTrack(bool on);

  // Where the tabs end: the child controls stand below it.
  int TabsHeight() const;
  QTabBar* TabBar() const { return bar_; }

  TTabNotifyEvent OnChange;
  TTabMouseEvent OnMouseDown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void MouseDown(const QMouseEvent& event, QPoint position);

  QTabBar* bar_;
  int tabWidth_ = 0;
  int index_ = -1;  // the selected tab as last seen
  bool silent_ = false;
};

}  // namespace vesk
