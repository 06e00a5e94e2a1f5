// AdrExecute and AdrDial as a host reaches them: the Tools library loaded
// with dlopen, its exports called by name, the window found among the
// application's windows and its close notification received by a host
// window.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QStatusBar>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/registered_messages.h"
#include "platform/window_messages.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "toolkit/status_bar.h"

namespace vesk {
namespace {

std::vector<QWidget*> ShownWindows(const char* caption) {
  std::vector<QWidget*> found;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QLatin1String(caption)) found.push_back(widget);
  }
  return found;
}

// The library loaded in a program folder of its own.
class AdrExport : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::current_path(folder_.Path());
    library_ = dlopen(TOOLS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr) dlclose(library_);
    std::filesystem::current_path(previous_);
  }

  template <class Function>
  Function* Export(const char* name) {
    return reinterpret_cast<Function*>(dlsym(library_, name));
  }

  TempFolder folder_;
  ScopedEnv home_{"VESK_HOME", folder_.Path()};
  ScopedEnv quiet_{"VESK_NONINTERACTIVE", "1"};
  const std::filesystem::path previous_ = std::filesystem::current_path();
  void* library_ = nullptr;
};

TEST_F(AdrExport, OneWindowPerOpeningAndTheHostHearsOfItsClose) {
  auto* adrExecute = Export<void()>("AdrExecute");
  ASSERT_NE(adrExecute, nullptr);
  std::vector<std::pair<uint16_t, uintptr_t>> received;
  TopLevelWindow host("TFRVeskTools", "Tools",
                      [&](uint16_t message, uintptr_t wParam, intptr_t) { received.emplace_back(message, wParam); });

  adrExecute();
  adrExecute();
  std::vector<QWidget*> windows = ShownWindows("Adressen");
  ASSERT_EQ(windows.size(), 1u);
  QPointer<QWidget> first = windows[0];
  EXPECT_TRUE(std::filesystem::exists("Data/adressen.mti"));

  first->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull() && !received.empty(); }, 5000));
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], std::make_pair(RegisterWindowMessage("VeskTools"), uintptr_t{0}));
  EXPECT_TRUE(ShownWindows("Adressen").empty());

  adrExecute();
  windows = ShownWindows("Adressen");
  ASSERT_EQ(windows.size(), 1u);
  windows[0]->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 5000));
  EXPECT_EQ(received[1].second, uintptr_t{0});
}

TEST_F(AdrExport, AdrDialOpensTheOneAddressWindowAndDialsThere) {
  auto* adrExecute = Export<void()>("AdrExecute");
  auto* adrDial = Export<void(const char*)>("AdrDial");
  ASSERT_NE(adrExecute, nullptr);
  ASSERT_NE(adrDial, nullptr);
  adrExecute();
  // Letters are not dialled: the window says so, as for a double click.
  adrDial("0800-FLOWERS");
  std::vector<QWidget*> windows = ShownWindows("Adressen");
  ASSERT_EQ(windows.size(), 1u);
  auto* status = windows[0]->findChild<QStatusBar*>("SBAdressen");
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(static_cast<TStatusBar*>(status)->SimpleText(), "Fehler in der Eingabe");
  adrDial(nullptr);
  EXPECT_EQ(ShownWindows("Adressen").size(), 1u);
  QPointer<QWidget> first = windows[0];
  first->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 5000));

  // With no window open, it opens one.
  adrDial("0800-FLOWERS");
  windows = ShownWindows("Adressen");
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(static_cast<TStatusBar*>(windows[0]->findChild<QStatusBar*>("SBAdressen"))->SimpleText(),
            "Fehler in der Eingabe");
  QPointer<QWidget> second = windows[0];
  second->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }, 5000));
}

}  // namespace
}  // namespace vesk
