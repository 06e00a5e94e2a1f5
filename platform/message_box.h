// Message boxes: text, caption, buttons and icon, brought to the front, with
// Qt's German button texts. A box with an owner window stands over it and
// blocks only that window; one without blocks the whole program. Caption and
// text also go to standard error. Without a GUI application, with
// VESK_NONINTERACTIVE=1, or once the program ends, no box is shown and the
// default button answers at once. Tests install a hook instead.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace vesk {

enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MbIcon { None, Information, Warning, Error, Question };
enum class MbResult { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
  std::string text;  // carriage returns are line breaks
  std::string caption;
  MbButtons buttons = MbButtons::Ok;
  MbIcon icon = MbIcon::None;
  MbResult defaultButton = MbResult::Ok;  // Yes for Yes/No boxes unless set
  QWidget* owner = nullptr;               // a shown top-level window, or none
};

MbResult ShowMessageBox(const MessageBoxRequest& request);
// Shorthand: an OK box.
void ShowMessage(const std::string& text, const std::string& caption, MbIcon icon);

// False while the program ends: no box is shown any more, each answers with
// its default button at once, so that nothing waits for a user. True again
// for a program that goes on (tests).
void SetMessageBoxesShown(bool shown);

// Replaces the box for this process (tests); an empty hook restores it.
using MessageBoxHook = std::function<MbResult(const MessageBoxRequest&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Loads Qt's German translations into the running QApplication (once).
void InstallGermanTranslations();

}  // namespace vesk
