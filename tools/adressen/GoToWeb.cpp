#include "tools/adressen/GoToWeb.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/desktop_associations.h"
#include "platform/detached_start.h"
#include "tools/adressen/browser_command.h"

namespace vesk {
namespace {

constexpr std::string_view kDefaultUrl = "https://vesktools.example/";
constexpr std::string_view kDefaultEMail = "info@vesktools.example";
constexpr std::string_view kMailHandler = "x-scheme-handler/mailto";

// The types of HTML documents, searched in this order: that of ".htm" is
// always "text/html"; the others are what the MIME database says.
std::vector<std::string> HtmlMimeTypes() {
  static constexpr std::array<std::string_view, 3> kOtherExtensions = {".html", ".shtml", ".shtm"};
  std::vector<std::string> types = {"text/html"};
  for (std::string_view extension : kOtherExtensions) {
    std::string type = MimeTypeOfName("document" + std::string(extension));
    if (!type.empty() && std::find(types.begin(), types.end(), type) == types.end())
      types.push_back(std::move(type));
  }
  return types;
}

}  // namespace

TGoToWeb::TGoToWeb(TComponent* owner)
    : TComponent(owner), url_(kDefaultUrl), eMail_(kDefaultEMail) {}

std::string TGoToWeb::FindBrowser() {
  BrowserCommand browser;
  for (const std::string& type : HtmlMimeTypes()) {
    const std::string command = DefaultCommand(type);
    if (command.empty()) continue;
    browser = SplitCommand(command);
    break;
  }
  arguments_ = std::move(browser.arguments);
  return browser.program;
}

bool TGoToWeb::OpenUrl() { return StartBrowser(url_); }

bool TGoToWeb::OpenEMail() {
  const std::string address = "mailto:" + eMail_ + "?subject=" + eMailSubject_;
  BrowserCommand mailer = SplitCommand(DefaultCommand(std::string(kMailHandler)));
  if (mailer.program.empty()) return StartBrowser(address);
  mailer.arguments.push_back(address);
  return StartDetached(mailer.program, mailer.arguments);
}

bool TGoToWeb::StartBrowser(const std::string& address) {
  const std::string program = FindBrowser();
  if (program.empty()) return false;
  std::vector<std::string> arguments = arguments_;
  arguments.push_back(address);
  return StartDetached(program, arguments);
}

}  // namespace vesk
