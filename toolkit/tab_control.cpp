#include "toolkit/tab_control.h"

#include <QMouseEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>
#include <utility>

#include "toolkit/design_scale.h"
#include "toolkit/event_guard.h"

namespace vesk {

namespace {

// A tab bar whose tabs can share one fixed width; a tab whose caption
// needs more room (a wider font, another screen density) grows to it.
class FixedWidthTabBar : public QTabBar {
 public:
  FixedWidthTabBar(QWidget* parent, const int& width) : QTabBar(parent), width_(width) {
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
  }

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    if (width_ > 0) size.setWidth(std::max(Scale(width_), size.width()));
    return size;
  }
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

 private:
  const int& width_;
};

TMouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
  }
}

}  // namespace

TTabControl::TTabControl(QWidget* parent) : QWidget(parent), bar_(new FixedWidthTabBar(this, tabWidth_)) {
  bar_->setExpanding(false);
  bar_->setDrawBase(false);
  bar_->installEventFilter(this);
  connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
    const int previous = std::exchange(index_, index);
    // A handler that fails leaves the tab that was selected before.
    if (!silent_ && OnChange && !Guarded([&] { OnChange(*this); })) SetTabIndex(previous);
  });
}

int TTabControl::TabCount() const { return bar_->count(); }

std::string TTabControl::Tab(int index) const { return bar_->tabText(index).toStdString(); }

std::vector<std::string> TTabControl::Tabs() const {
  std::vector<std::string> tabs;
  for (int i = 0; i < TabCount(); ++i) tabs.push_back(Tab(i));
  return tabs;
}

void TTabControl::AddTab(const std::string& caption) {
  silent_ = true;
  bar_->addTab(QString::fromStdString(caption));
  silent_ = false;
  resizeEvent(nullptr);
}

int TTabControl::TabIndex() const { return bar_->currentIndex(); }

void TTabControl::SetTabIndex(int index) {
  silent_ = true;
  bar_->setCurrentIndex(index);
  silent_ = false;
}

void TTabControl::SetTabWidth(int designWidth) {
  tabWidth_ = std::max(designWidth, 0);
  // A changed text makes the bar ask for the tab sizes again.
  silent_ = true;
  for (int i = 0; i < TabCount(); ++i) bar_->setTabText(i, bar_->tabText(i));
  silent_ = false;
  bar_->updateGeometry();
  resizeEvent(nullptr);
}

bool TTabControl::HotTrack() const { return bar_->testAttribute(Qt::WA_Hover); }

void TTabControl::SetHotTrack(bool on) { bar_->setAttribute(Qt::WA_Hover, on); }

int TTabControl::TabsHeight() const { return bar_->sizeHint().height(); }

void TTabControl::resizeEvent(QResizeEvent*) { bar_->setGeometry(0, 0, width(), TabsHeight()); }

void TTabControl::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(0, TabsHeight() - 1, 0, 0);
  frame.tabBarSize = bar_->size();
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

bool TTabControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_ && event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    MouseDown(*press, bar_->mapToParent(press->position().toPoint()));
    // The bar selects with the left button only; other presses end here.
    return press->button() != Qt::LeftButton;
  }
  return QWidget::eventFilter(watched, event);
}

void TTabControl::mousePressEvent(QMouseEvent* event) {
  // A press that an input control standing on the tab control left to its
  // parent (a memo's right button) belongs to that control; labels and
  // other controls that take no focus are the tab control's own ground.
  for (QWidget* child = childAt(event->position().toPoint()); child != nullptr && child != this;
       child = child->parentWidget()) {
    if ((child->focusPolicy() & Qt::ClickFocus) != 0) {
      event->ignore();
      return;
    }
  }
  MouseDown(*event, event->position().toPoint());
  event->accept();
}

void TTabControl::MouseDown(const QMouseEvent& event, QPoint position) {
  if (OnMouseDown)
    Guarded([&] {
      OnMouseDown(*this, ButtonOf(event.button()), ShiftStateOf(event.modifiers()), position.x(), position.y());
    });
}

}  // namespace vesk
