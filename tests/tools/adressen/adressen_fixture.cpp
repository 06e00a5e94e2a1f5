#include "tests/tools/adressen/adressen_fixture.h"

#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "platform/message_box.h"
#include "toolkit/application.h"
#include "toolkit/field.h"
#include "toolkit/tab_control.h"
#include "tools/VeskMsg.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QTest::qWait(5);
}

void AdressenTest::SetUp() {
  RegisterVeskToolsMessage();
  folder_ = std::make_unique<TempFolder>();
  home_ = std::make_unique<ScopedEnv>("VESK_HOME", folder_->Path());
  previousFolder_ = std::filesystem::current_path().string();
  std::filesystem::current_path(folder_->Path());
  Application().OnException = [this](const std::exception& error) { errors_.emplace_back(error.what()); };
  SetMessageBoxHook([this](const MessageBoxRequest& request) {
    boxes_.push_back(request.text);
    return MbResult::Ok;
  });
  host_ = std::make_unique<TopLevelWindow>("TFRVeskTools", "Tools", [this](uint16_t message, uintptr_t wParam, intptr_t) {
    hostMessages_.emplace_back(message, wParam);
  });
}

void AdressenTest::TearDown() {
  Application().DestroyWindows();
  ProcessEvents();
  host_.reset();
  Application().OnException = nullptr;
  SetMessageBoxHook({});
  std::filesystem::current_path(previousFolder_);
  home_.reset();
  folder_.reset();
}

TFRAdressen& AdressenTest::OpenWindow() {
  window_ = new TFRAdressen();
  window_->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
  return *window_;
}

void AdressenTest::CloseWindow() {
  window_->Close();
  ProcessEvents();
}

void AdressenTest::Add(const std::string& name, const std::string& category) {
  TRadiRidir& table = *window_->MTbAdressen;
  table.Append();
  table.FieldByName("Name")->SetAsString(name);
  table.FieldByName("Kategorie")->SetAsString(category);
  table.Post();
}

void AdressenTest::SelectTab(int index) {
  QTabBar* bar = window_->TCAdressen->TabBar();
  while (bar->currentIndex() < index) QTest::keyClick(bar, Qt::Key_Right);
  while (bar->currentIndex() > index) QTest::keyClick(bar, Qt::Key_Left);
}

void AdressenTest::Click(TNavigateBtn button) {
  QToolButton* target = window_->DBNvAdressen->Button(button);
  ASSERT_TRUE(target->isEnabled());
  QTest::mouseClick(target, Qt::LeftButton);
}

std::vector<std::string> AdressenTest::Names() {
  std::vector<std::string> names;
  TRadiRidir& table = *window_->MTbAdressen;
  for (table.First(); !table.Eof(); table.Next()) names.push_back(table.FieldByName("Name")->AsString());
  return names;
}

void AdressenTest::WriteProgramFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(folder_->File(name), std::ios::binary) << bytes;
}

}  // namespace vesk
