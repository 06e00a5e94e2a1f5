// TApplication: the application object of a module (the library or the
// program). It holds the title, owns the module's windows (every TForm
// joins it when made and leaves when destroyed) and frees those still there
// when it goes, and offers the default error display that the toolkit uses
// for failures no caller catches. While it exists, the data part's errors
// and warnings are shown through it.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace vesk {

class TForm;

class TApplication {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Shows the exception's message in a message box (error icon, the title
  // as caption) over the window it belongs to: the active window, else the
  // newest shown window of the module. Hands it to OnException instead when
  // that is set.
  void HandleException(const std::exception& error);
  // Shows a warning in a message box, the title as caption.
  void ShowWarning(const std::string& text) const;

  // Replaces the message box (tests, hosts with their own display).
  std::function<void(const std::exception&)> OnException;

  // The windows that exist, oldest first.
  const std::vector<TForm*>& Windows() const { return windows_; }
  // Frees every window (with its OnDestroy), newest first; run when the
  // module is unloaded, while the QApplication still exists.
  void DestroyWindows();

 private:
  friend class TForm;
  void AddWindow(TForm* form) { windows_.push_back(form); }
  QWidget* ErrorOwner() const;
  void RemoveWindow(TForm* form);

  std::string title_;
  std::vector<TForm*> windows_;
};

// The one application object of this module.
TApplication& Application();

}  // namespace vesk
