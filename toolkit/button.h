// TButton: a push button. A press runs OnClick (guarded) and then, when the
// button has a ModalResult, sets it on its window, which closes a modal one.
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

  std::function<void(TButton&)> OnClick;

 private:
  void Pressed();

  TModalResult modalResult_ = mrNone;
};

}  // namespace vesk
