// TFRVeskTools: the host's main window "Tools", found by the library under
// this class and caption. One button per window of the library, disabled
// with the reason in its tooltip when the library lacks the window's
// export; the status bar tells what the library's notifications mean.
#pragma once

#include <functional>
#include <string>

#include "toolkit/form.h"

namespace vesk {

class ToolsLibrary;
class TButton;
class TStatusBar;

class TFRVeskTools : public TForm {
 public:
  // veskToolsMessage: the identifier of "VeskTools".
  TFRVeskTools(ToolsLibrary& library, uint16_t veskToolsMessage);

  TButton* Button(const std::string& caption) const;
  std::string StatusText() const;
  void SetStatusText(std::string text);

  // Runs after the status bar shows what a VeskTools notification means.
  std::function<void(uintptr_t wParam)> OnVeskTools;

 private:
  void Notified(uintptr_t wParam);

  TStatusBar* statusBar_;
};

}  // namespace vesk
