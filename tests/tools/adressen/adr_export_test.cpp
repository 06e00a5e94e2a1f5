// AdrExecute as a host reaches it: the Tools library loaded with dlopen, its
// export called by name, the window found among the application's windows
// and its close notification received by a host window.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
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

namespace vesk {
namespace {

std::vector<QWidget*> ShownWindows(const char* caption) {
  std::vector<QWidget*> found;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QLatin1String(caption)) found.push_back(widget);
  }
  return found;
}

TEST(AdrExecute, OneWindowPerOpeningAndTheHostHearsOfItsClose) {
  TempFolder folder;
  ScopedEnv home("VESK_HOME", folder.Path());
  ScopedEnv quiet("VESK_NONINTERACTIVE", "1");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  void* library = dlopen(TOOLS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto adrExecute = reinterpret_cast<void (*)()>(dlsym(library, "AdrExecute"));
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

  dlclose(library);
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace vesk
