// TButton: a push button. A press runs OnClick (guarded) and then, when the
// button has a ModalResult, sets it on its window, which closes a modal one.
// The Default button of a window is pressed by Enter, its Cancel button by
// Esc, when the focused control leaves the key unused; Enter on a focused
// button presses that button.
#pragma once

#include <QPushButton>
#include <functional>
#include <string>

#include "toolkit/form.h"

namespace vesk {

class TButton : public QPushButton {
 public:
  explicit TButton(const std::string& caption = "", QWidget* parent = nullptr);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }

  // Set on a button that lies in its window already.
  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on);

  std::function<void(TButton&)> OnClick;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Pressed();
  void WatchWindowKeys();
  // The button that Enter or Esc presses as far as this one knows; nothing
  // when it is not this one's to press.
  QPushButton* ButtonForKey(int key) const;

  TModalResult modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
  bool watching_ = false;
};

}  // namespace vesk
