#include "host/host_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <vector>

#include "host/tools_library.h"
#include "platform/window_messages.h"
#include "toolkit/button.h"

namespace vesk {
namespace {

constexpr uint16_t kVeskTools = 0xC123;

class HostWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static QTemporaryDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    static int argc = 1;
    static char name[] = "host_window_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete application_;
    application_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(library_.Load()) << library_.ErrorText();
    window_ = std::make_unique<TFRVeskTools>(library_, kVeskTools);
    window_->OnVeskTools = [this](uintptr_t wParam) { notified_.push_back(wParam); };
    window_->Show();
  }

  static QApplication* application_;
  ToolsLibrary library_{FAKE_TOOLS_LIBRARY};
  std::unique_ptr<TFRVeskTools> window_;
  std::vector<uintptr_t> notified_;
};

QApplication* HostWindowTest::application_ = nullptr;

TEST_F(HostWindowTest, ButtonsFollowTheExports) {
  auto calls = reinterpret_cast<int (*)()>(library_.Resolve("AdrExecuteCalls"));
  ASSERT_NE(calls, nullptr);
  TButton* addresses = window_->Button("Adressen");
  ASSERT_NE(addresses, nullptr);
  EXPECT_TRUE(addresses->isEnabled());
  QTest::mouseClick(addresses, Qt::LeftButton);
  EXPECT_EQ(calls(), 1);

  for (const char* caption : {"Notizen", "Termine", "Einstellungen"}) {
    TButton* button = window_->Button(caption);
    ASSERT_NE(button, nullptr) << caption;
    EXPECT_FALSE(button->isEnabled()) << caption;
    EXPECT_TRUE(button->toolTip().contains("libTools.so")) << caption;
  }
  EXPECT_TRUE(window_->Button("Notizen")->toolTip().contains("NtzExecute"));
  QTest::mouseClick(window_->Button("Notizen"), Qt::LeftButton);
  EXPECT_EQ(calls(), 1);
}

TEST_F(HostWindowTest, StatusBarTellsWhatANotificationMeans) {
  ASSERT_TRUE(PostMessage(window_->Handle(), kVeskTools, 1, 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return notified_.size() == 1; }, 5000));
  EXPECT_EQ(window_->StatusText(), "Terminliste neu geschrieben");
  ASSERT_TRUE(PostMessage(window_->Handle(), kVeskTools + 1, 0, 0));  // not VeskTools
  ASSERT_TRUE(PostMessage(window_->Handle(), kVeskTools, 0, 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return notified_.size() == 2; }, 5000));
  EXPECT_EQ(window_->StatusText(), "Ein Fenster wurde geschlossen");
  EXPECT_EQ(notified_, (std::vector<uintptr_t>{1, 0}));
}

}  // namespace
}  // namespace vesk
