#include "tools/adressen/GoToWeb.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "platform/desktop_associations.h"
#include "platform/detached_start.h"
#include "runtime/conversions.h"
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
    if (!type.empty() && std::find(types.begin(), types.end(), type) == types.end()) types.push_back(std::move(type));
  }
  return types;
}

// Whether a program takes the address as an address, never as an option:
// after leading blanks it begins with a letter or digit. The scheme of a URL
// (RFC 3986: a letter, then letters, digits, "+", "-" or ".", then ":")
// begins so, as does a host name the browser completes ("www.example.de",
// "example.de/pfad"); "-x", "--flag=1", "/pfad" and "" do not.
bool IsAddress(std::string_view address) {
  const std::string text = Trim(address);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  int32_t at = 0;
  UChar32 first = -1;
  if (!text.empty()) U8_NEXT(bytes, at, static_cast<int32_t>(text.size()), first);
  return first >= 0 && u_isalnum(first);
}

// Starts the program of the command with its arguments and then the
// address; false, starting nothing, when there is no program or the
// address is none.
bool StartWithAddress(BrowserCommand command, const std::string& address) {
  if (command.program.empty() || !IsAddress(address)) return false;
  command.arguments.push_back(address);
  return StartDetached(command.program, command.arguments);
}

}  // namespace

TGoToWeb::TGoToWeb(TComponent* owner) : TComponent(owner), url_(kDefaultUrl), eMail_(kDefaultEMail) {}

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
  // The "mailto:" in front keeps an address beginning with "-" from being
  // an option, to the mail program as to the browser.
  const std::string address = "mailto:" + eMail_ + "?subject=" + eMailSubject_;
  BrowserCommand mailer = SplitCommand(DefaultCommand(std::string(kMailHandler)));
  if (mailer.program.empty()) return StartBrowser(address);
  return StartWithAddress(std::move(mailer), address);
}

bool TGoToWeb::StartBrowser(const std::string& address) {
  std::string program = FindBrowser();
  return StartWithAddress({std::move(program), arguments_}, address);
}

}  // namespace vesk
