#include "tools/host_notification.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/window_messages.h"
#include "tools/VeskMsg.h"

namespace vesk {
namespace {

struct Received {
  uint16_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

class TestHostWindow {
 public:
  explicit TestHostWindow(const char* caption = "Tools")
      : window_("TFRVeskTools", caption, [this](uint16_t message, uintptr_t wParam, intptr_t lParam) {
          received.push_back({message, wParam, lParam});
        }) {}
  std::vector<Received> received;

 private:
  TopLevelWindow window_;
};

TEST(HostNotificationTest, ReachesTheHostWindowWithItsWParam) {
  RegisterVeskToolsMessage();
  ASSERT_GE(VeskToolsMessage, 0xC000);
  TestHostWindow other("Tools 2");
  TestHostWindow host;
  NotifyHost(kReminderListWritten);
  NotifyHost(kWindowClosed);
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.received.size() == 2; }, 5000));
  EXPECT_EQ(host.received[0].message, VeskToolsMessage);
  EXPECT_EQ(host.received[0].wParam, 1u);
  EXPECT_EQ(host.received[0].lParam, 0);
  EXPECT_EQ(host.received[1].message, VeskToolsMessage);
  EXPECT_EQ(host.received[1].wParam, 0u);
  QCoreApplication::processEvents();
  EXPECT_TRUE(other.received.empty());
}

TEST(HostNotificationTest, HostWindowIsLookedUpAtEveryCall) {
  RegisterVeskToolsMessage();
  NotifyHost(kWindowClosed);  // no host: nothing happens
  auto first = std::make_unique<TestHostWindow>();
  NotifyHost(kWindowClosed);
  ASSERT_TRUE(QTest::qWaitFor([&] { return first->received.size() == 1; }, 5000));
  first.reset();
  TestHostWindow second;
  NotifyHost(kReminderListWritten);
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.received.size() == 1; }, 5000));
  EXPECT_EQ(second.received[0].wParam, 1u);
}

}  // namespace
}  // namespace vesk
