// NtzExecute through the library's exported face, as the host calls it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibrary>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/message_box.h"
#include "platform/registered_messages.h"
#include "platform/window_messages.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

std::vector<QWidget*> NotesWindows() {
  std::vector<QWidget*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QLatin1String("Notizen")) windows.push_back(widget);
  }
  return windows;
}

TEST(NotizenExport, TwoCallsMakeOneWindowAfterACloseANewOneAndTheHostIsTold) {
  TempFolder folder;
  ScopedEnv home("VESK_HOME", folder.Path());
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  std::vector<std::string> boxes;
  SetMessageBoxHook([&boxes](const MessageBoxRequest& request) {
    boxes.push_back(request.text);
    return MbResult::Ok;
  });
  std::vector<std::pair<uint16_t, uintptr_t>> received;
  TopLevelWindow host("TFRVeskTools", "Tools", [&received](uint16_t message, uintptr_t wParam, intptr_t) {
    received.emplace_back(message, wParam);
  });

  QLibrary library(TOOLS_LIBRARY);
  ASSERT_TRUE(library.load()) << library.errorString().toStdString();
  auto execute = reinterpret_cast<void (*)()>(library.resolve("NtzExecute"));
  ASSERT_NE(execute, nullptr);

  execute();
  execute();
  ASSERT_EQ(NotesWindows().size(), 1u);
  QPointer<QWidget> first = NotesWindows().front();
  EXPECT_TRUE(FindWindow("TFRNotizen", "Notizen"));
  EXPECT_TRUE(std::filesystem::exists("Data/notizen.mti"));

  first->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull() && !received.empty(); }, 5000));
  EXPECT_FALSE(FindWindow("TFRNotizen", "Notizen"));
  EXPECT_EQ(received, (std::vector<std::pair<uint16_t, uintptr_t>>{{RegisterWindowMessage("VeskTools"), 0}}));
  EXPECT_TRUE(std::filesystem::exists(folder.File("notizen.txt")));

  execute();
  ASSERT_EQ(NotesWindows().size(), 1u);
  QPointer<QWidget> second = NotesWindows().front();
  second->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.isNull() && received.size() == 2; }, 5000));
  EXPECT_TRUE(boxes.empty());

  EXPECT_TRUE(library.unload());
  SetMessageBoxHook({});
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace vesk
