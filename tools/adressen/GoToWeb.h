// TGoToWeb: opens a web address in the user's web browser, or starts a mail
// message. The browser is the desktop's default application for HTML
// documents; a mail goes to the desktop's mail program when it has one,
// else to the browser as a "mailto:" address. Programs start detached,
// without a shell, with the address as one argument. An address that does
// not begin with a letter or digit (after blanks) starts nothing, so that
// "-remote-debugging-port=9222" never reaches a browser as an option. No
// message is shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/data/component.h"

namespace vesk {

// The window state asked of the browser. The window manager decides in the
// end; a Linux desktop has no portable way to ask for a maximised start.
enum TBrowserState : uint8_t { gwMaximized, gwNormal };

class TGoToWeb : public TComponent {
 public:
  explicit TGoToWeb(TComponent* owner = nullptr);

  const std::string& Url() const { return url_; }
  void SetUrl(std::string url) { url_ = std::move(url); }
  const std::string& EMail() const { return eMail_; }
  void SetEMail(std::string eMail) { eMail_ = std::move(eMail); }
  const std::string& EMailSubject() const { return eMailSubject_; }
  void SetEMailSubject(std::string subject) { eMailSubject_ = std::move(subject); }
  TBrowserState BrowserState() const { return browserState_; }
  void SetBrowserState(TBrowserState state) { browserState_ = state; }

  // The browser program, or "" when the desktop has none; also sets the
  // extra arguments of its registered command for the next start.
  std::string FindBrowser();
  // Starts the browser on Url; true when it started. Url is a URL with a
  // scheme ("https://…", "ftp://…", "mailto:…") or a host name the browser
  // completes ("www.example.de"); one beginning with "-" or any other sign
  // starts nothing and gives false, as when there is no browser.
  bool OpenUrl();
  // Starts a mail to EMail with EMailSubject; true when a program started.
  bool OpenEMail();

 private:
  std::string url_;
  std::string eMail_;
  std::string eMailSubject_;
  TBrowserState browserState_ = gwMaximized;
  // Starts the browser found with its extra arguments and the address,
  // when it is one.
  bool StartBrowser(const std::string& address);

  std::vector<std::string> arguments_;  // of the command FindBrowser found last
};

}  // namespace vesk
