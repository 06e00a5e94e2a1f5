#include "tests/tools/library_window_test.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "platform/message_box.h"
#include "platform/registered_messages.h"
#include "toolkit/application.h"
#include "tools/VeskMsg.h"

namespace vesk {

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QTest::qWait(5);
}

void LibraryWindowTest::SetUp() {
  RegisterVeskToolsMessage();
  folder_ = std::make_unique<TempFolder>();
  home_ = std::make_unique<ScopedEnv>("VESK_HOME", folder_->Path());
  previousFolder_ = std::filesystem::current_path().string();
  std::filesystem::current_path(folder_->Path());
  Application().OnException = [this](const std::exception& error) { errors_.emplace_back(error.what()); };
  SetMessageBoxHook([this](const MessageBoxRequest& request) {
    boxes_.push_back(request.text);
    return MbResult::Yes;
  });
  host_ = std::make_unique<TopLevelWindow>(
      "TFRVeskTools", "Tools",
      [this](uint16_t message, uintptr_t wParam, intptr_t) { hostMessages_.emplace_back(message, wParam); });
}

void LibraryWindowTest::TearDown() {
  Application().DestroyWindows();
  ProcessEvents();
  host_.reset();
  Application().OnException = nullptr;
  SetMessageBoxHook({});
  std::filesystem::current_path(previousFolder_);
  home_.reset();
  folder_.reset();
}

void ExpectNamedWidgets(const QWidget& window, std::initializer_list<const char*> names) {
  for (const char* name : names) EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name;
}

uint16_t LibraryWindowTest::VeskTools() const { return RegisterWindowMessage("VeskTools"); }

}  // namespace vesk
