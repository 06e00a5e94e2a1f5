#include "toolkit/button.h"

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

}  // namespace vesk
