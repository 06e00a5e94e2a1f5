#include "toolkit/button.h"

#include <QApplication>
#include <QKeyEvent>

#include "toolkit/event_guard.h"

namespace vesk {

TButton::TButton(const std::string& caption, QWidget* parent) : QPushButton(QString::fromStdString(caption), parent) {
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] { Pressed(); });
}

void TButton::Pressed() {
  if (OnClick && !Guarded([&] { OnClick(*this); })) return;
  if (modalResult_ == mrNone) return;
  if (auto* form = dynamic_cast<TForm*>(window())) form->SetModalResult(modalResult_);
}

void TButton::SetDefault(bool on) {
  default_ = on;
  WatchWindowKeys();
}

void TButton::SetCancel(bool on) {
  cancel_ = on;
  WatchWindowKeys();
}

void TButton::WatchWindowKeys() {
  if (watching_ || window() == this) return;
  window()->installEventFilter(this);
  watching_ = true;
}

QPushButton* TButton::ButtonForKey(int key) const {
  if (key == Qt::Key_Escape) return cancel_ && isVisible() && isEnabled() ? const_cast<TButton*>(this) : nullptr;
  // Enter presses the focused button of the window, whichever it is, else the default one.
  auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
  if (focused != nullptr && focused->window() == window()) return focused;
  return default_ && isVisible() && isEnabled() ? const_cast<TButton*>(this) : nullptr;
}

namespace {

bool IsPlainEnter(const QKeyEvent& event) {
  const bool plain = (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  return plain && (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter);
}

}  // namespace

void TButton::keyPressEvent(QKeyEvent* event) {
  // Enter presses the focused button also in a window without a default one.
  if (IsPlainEnter(*event)) {
    event->accept();
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

bool TButton::eventFilter(QObject* watched, QEvent* event) {
  // Keys reach the window when the focused control (or the window) left them unused.
  if (watched == window() && event->type() == QEvent::KeyPress) {
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    const bool plain = (keyEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (IsPlainEnter(*keyEvent) || (plain && key == Qt::Key_Escape)) {
      if (QPushButton* button = ButtonForKey(key)) {
        keyEvent->accept();
        button->click();
        return true;
      }
    }
  }
  return QPushButton::eventFilter(watched, event);
}

}  // namespace vesk
