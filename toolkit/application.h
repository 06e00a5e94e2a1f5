// TApplication: the application object of a module (the library or the
// program). For now it holds the title and the default error display that
// the toolkit uses for failures no caller catches.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace vesk {

class TApplication {
 public:
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Shows the exception's message in a message box (error icon, the title
  // as caption), or hands it to OnException when that is set.
  void HandleException(const std::exception& error);

  // Replaces the message box (tests, hosts with their own display).
  std::function<void(const std::exception&)> OnException;

 private:
  std::string title_;
};

// The one application object of this module.
TApplication& Application();

}  // namespace vesk
