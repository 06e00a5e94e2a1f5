#include "platform/message_box.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace vesk {
namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

bool& Shown() {
  static bool shown = true;
  return shown;
}

// Carriage returns, alone or before a line feed, as line feeds.
std::string WithLineFeeds(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      result += text[i];
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      result += '\n';
    }
  }
  return result;
}

std::vector<MbResult> ButtonsOf(MbButtons buttons) {
  switch (buttons) {
    case MbButtons::Ok: return {MbResult::Ok};
    case MbButtons::OkCancel: return {MbResult::Ok, MbResult::Cancel};
    case MbButtons::YesNo: return {MbResult::Yes, MbResult::No};
    case MbButtons::YesNoCancel: return {MbResult::Yes, MbResult::No, MbResult::Cancel};
  }
  return {MbResult::Ok};
}

bool Offers(const std::vector<MbResult>& buttons, MbResult button) {
  return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

// The requested default when the box has that button, else its first one.
MbResult DefaultOf(const MessageBoxRequest& request) {
  std::vector<MbResult> buttons = ButtonsOf(request.buttons);
  return Offers(buttons, request.defaultButton) ? request.defaultButton : buttons.front();
}

// What closing the box without a button (Escape, the window's close) answers.
MbResult EscapeOf(MbButtons kind) {
  std::vector<MbResult> buttons = ButtonsOf(kind);
  if (Offers(buttons, MbResult::Cancel)) return MbResult::Cancel;
  if (Offers(buttons, MbResult::No)) return MbResult::No;
  return MbResult::Ok;
}

QMessageBox::StandardButton QtButton(MbResult button) {
  switch (button) {
    case MbResult::Ok: return QMessageBox::Ok;
    case MbResult::Cancel: return QMessageBox::Cancel;
    case MbResult::Yes: return QMessageBox::Yes;
    case MbResult::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon QtIcon(MbIcon icon) {
  switch (icon) {
    case MbIcon::None: return QMessageBox::NoIcon;
    case MbIcon::Information: return QMessageBox::Information;
    case MbIcon::Warning: return QMessageBox::Warning;
    case MbIcon::Error: return QMessageBox::Critical;
    case MbIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

bool Interactive() {
  const char* flag = std::getenv("VESK_NONINTERACTIVE");
  bool nonInteractive = flag && *flag && std::string_view(flag) != "0";
  return !nonInteractive && Shown() && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

MbResult Show(const MessageBoxRequest& request) {
  InstallGermanTranslations();
  std::vector<MbResult> buttons = ButtonsOf(request.buttons);
  QMessageBox::StandardButtons qtButtons;
  for (MbResult button : buttons) qtButtons |= QtButton(button);
  // On the heap: an owner that is freed while the box is open takes it along.
  QPointer<QMessageBox> box =
      new QMessageBox(QtIcon(request.icon), QString::fromStdString(request.caption),
                      QString::fromStdString(WithLineFeeds(request.text)), qtButtons, request.owner);
  // Texts come from records and files: never read them as markup.
  box->setTextFormat(Qt::PlainText);
  box->setDefaultButton(QtButton(DefaultOf(request)));
  box->setEscapeButton(box->button(QtButton(EscapeOf(request.buttons))));
  // Modal before it is shown: exec() cannot make a visible window modal.
  box->setWindowModality(request.owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  box->show();
  box->raise();
  box->activateWindow();
  box->exec();
  if (box.isNull()) return EscapeOf(request.buttons);
  QAbstractButton* clicked = box->clickedButton();
  MbResult answer = EscapeOf(request.buttons);
  for (MbResult button : buttons) {
    if (clicked && clicked == box->button(QtButton(button))) answer = button;
  }
  delete box;
  return answer;
}

}  // namespace

MbResult ShowMessageBox(const MessageBoxRequest& request) {
  std::string trace = request.caption + ": " + WithLineFeeds(request.text) + "\n";
  std::fputs(trace.c_str(), stderr);
  std::fflush(stderr);
  if (Hook()) return Hook()(request);
  return Interactive() ? Show(request) : DefaultOf(request);
}

void ShowMessage(const std::string& text, const std::string& caption, MbIcon icon) {
  MessageBoxRequest request;
  request.text = text;
  request.caption = caption;
  request.icon = icon;
  ShowMessageBox(request);
}

void SetMessageBoxesShown(bool shown) { Shown() = shown; }

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

void InstallGermanTranslations() {
  // A child of the application: gone, and loaded again, with a new one.
  static QPointer<QTranslator> installed;
  QCoreApplication* application = QCoreApplication::instance();
  if (!application || installed) return;
  auto* translator = new QTranslator(application);
  if (!translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
}

}  // namespace vesk
