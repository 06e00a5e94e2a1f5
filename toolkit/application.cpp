#include "toolkit/application.h"

#include <QApplication>
#include <algorithm>

#include "platform/message_box.h"
#include "toolkit/data/notices.h"
#include "toolkit/form.h"

namespace vesk {

TApplication::TApplication() {
  SetNoticeHandlers({[this](const std::exception& error) { HandleException(error); },
                     [this](const std::string& text) { ShowWarning(text); }});
}

TApplication::~TApplication() {
  SetNoticeHandlers({});
  // Without a QApplication the windows can no longer be destroyed safely.
  if (QCoreApplication::instance() != nullptr) DestroyWindows();
}

void TApplication::HandleException(const std::exception& error) {
  if (OnException) {
    OnException(error);
    return;
  }
  MessageBoxRequest request;
  request.text = error.what();
  request.caption = title_;
  request.icon = MbIcon::Error;
  request.owner = ErrorOwner();
  ShowMessageBox(request);
}

void TApplication::ShowWarning(const std::string& text) const { ShowMessage(text, title_, MbIcon::Warning); }

QWidget* TApplication::ErrorOwner() const {
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && active->isVisible()) return active;
  for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
    if ((*window)->isVisible()) return *window;
  }
  return nullptr;
}

void TApplication::DestroyWindows() {
  const std::vector<TForm*> windows(windows_.rbegin(), windows_.rend());
  for (TForm* form : windows)
    if (std::find(windows_.begin(), windows_.end(), form) != windows_.end()) form->Free();
}

void TApplication::RemoveWindow(TForm* form) { std::erase(windows_, form); }

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace vesk
