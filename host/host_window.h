// TFRVeskTools: the host's main window "Tools", found by the library under
// this class and caption, centred on the screen at its first showing. One
// button per window of the library, disabled with a word for the user when
// the library lacks the window's export; below them the host's own: "Telefon…"
// for the SIP account, import and export, "Abgleich…" for the sync's account
// and "Jetzt abgleichen". The status bar tells what the library's
// notifications and the sync mean, and a long text does not widen the window.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "toolkit/form.h"

namespace vesk {

class AddressSyncSchedule;
class ToolsLibrary;
class TButton;
class TStatusBar;

class TFRVeskTools : public TForm {
 public:
  // veskToolsMessage: the identifier of "VeskTools".
  TFRVeskTools(ToolsLibrary& library, uint16_t veskToolsMessage);
  ~TFRVeskTools() override;

  TButton* Button(const std::string& caption) const;
  std::string StatusText() const;
  AddressSyncSchedule& AddressSync() const { return *addressSync_; }
  void SetStatusText(std::string text);

  // Runs after the status bar shows what a VeskTools notification means.
  std::function<void(uintptr_t wParam)> OnVeskTools;
  // The sync rewrote the reminder list: said as the library's notification
  // of it is, and followed the same way.
  void ReminderListRewritten();

 private:
  void Notified(uintptr_t wParam);
  TStatusBar* statusBar_;
  std::unique_ptr<AddressSyncSchedule> addressSync_;
};

}  // namespace vesk
