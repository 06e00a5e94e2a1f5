#include <gtest/gtest.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <string>

#include "runtime/exceptions.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "tools/entry_point_execute.h"

namespace vesk {
namespace {

// A library window that frees itself at its close, as the address, notes
// and settings windows do.
class TTestWindow : public TForm {
 public:
  TTestWindow() : TForm("TTestWindow", "Testfenster") {
    OnClose = [](TForm&, TCloseAction& action) { action = caFree; };
  }
};

// A window that is only hidden at its close, as the appointments window.
class THiddenWindow : public TForm {
 public:
  THiddenWindow() : TForm("THiddenWindow", "Versteckt") {}
};

class TBrokenWindow : public TForm {
 public:
  TBrokenWindow() : TForm("TBrokenWindow", "Kaputt") { throw Exception("Tabelle fehlt"); }
};

size_t WindowsOfClass(const std::string& windowClass) {
  const auto& windows = Application().Windows();
  return std::count_if(windows.begin(), windows.end(),
                       [&](const TForm* form) { return form->WindowClass() == windowClass; });
}

class EntryPointTest : public testing::Test {
 protected:
  void TearDown() override {
    Application().DestroyWindows();
    Application().OnException = nullptr;
  }
};

TEST_F(EntryPointTest, SecondCallShowsTheSameWindowAgain) {
  QPointer<TTestWindow> instance;
  Execute(instance, "TTestWindow", "Testfenster");
  ASSERT_FALSE(instance.isNull());
  TTestWindow* first = instance.data();
  EXPECT_TRUE(first->isVisible());
  first->hide();
  Execute(instance, "TTestWindow", "Testfenster");
  EXPECT_EQ(instance.data(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(WindowsOfClass("TTestWindow"), 1u);
}

TEST_F(EntryPointTest, WindowFreedAtItsCloseIsCreatedAnew) {
  QPointer<TTestWindow> instance;
  Execute(instance, "TTestWindow", "Testfenster");
  ASSERT_FALSE(instance.isNull());
  instance->Close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return instance.isNull(); }, 5000));
  EXPECT_FALSE(FindWindow("TTestWindow", "Testfenster"));
  EXPECT_EQ(WindowsOfClass("TTestWindow"), 0u);

  Execute(instance, "TTestWindow", "Testfenster");
  ASSERT_FALSE(instance.isNull());
  EXPECT_TRUE(instance->isVisible());
  EXPECT_EQ(WindowsOfClass("TTestWindow"), 1u);
}

TEST_F(EntryPointTest, HiddenWindowIsShownAgainNotDuplicated) {
  QPointer<THiddenWindow> instance;
  Execute(instance, "THiddenWindow", "Versteckt");
  ASSERT_FALSE(instance.isNull());
  THiddenWindow* first = instance.data();
  first->Close();
  QCoreApplication::processEvents();
  ASSERT_FALSE(instance.isNull());
  EXPECT_FALSE(first->isVisible());

  Execute(instance, "THiddenWindow", "Versteckt");
  EXPECT_EQ(instance.data(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(WindowsOfClass("THiddenWindow"), 1u);
}

TEST_F(EntryPointTest, WindowOfAnotherProcessLeadsToOneHere) {
  QProcess helper;
  helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  helper.start(QStringLiteral(FRAME_WINDOW_HELPER), {"TTestWindow", "Testfenster"});
  ASSERT_TRUE(helper.waitForReadyRead(10000));
  ASSERT_EQ(helper.readLine().trimmed(), "ready");
  std::optional<WindowHandle> other = FindWindow("TTestWindow", "Testfenster");
  ASSERT_TRUE(other);
  ASSERT_NE(other->process, static_cast<uint32_t>(getpid()));

  QPointer<TTestWindow> instance;
  Execute(instance, "TTestWindow", "Testfenster");
  ASSERT_FALSE(instance.isNull());
  TTestWindow* here = instance.data();
  EXPECT_TRUE(here->isVisible());
  Execute(instance, "TTestWindow", "Testfenster");
  EXPECT_EQ(instance.data(), here);
  EXPECT_EQ(WindowsOfClass("TTestWindow"), 1u);

  helper.closeWriteChannel();
  EXPECT_TRUE(helper.waitForFinished(10000));
  EXPECT_EQ(helper.exitCode(), 0);
}

TEST_F(EntryPointTest, FailingWindowGoesToTheErrorDisplayNotToTheCaller) {
  std::string shown;
  Application().OnException = [&](const std::exception& error) { shown = error.what(); };
  QPointer<TBrokenWindow> instance;
  EXPECT_NO_THROW(Execute(instance, "TBrokenWindow", "Kaputt"));
  EXPECT_EQ(shown, "Tabelle fehlt");
  EXPECT_TRUE(instance.isNull());
  EXPECT_EQ(WindowsOfClass("TBrokenWindow"), 0u);
  EXPECT_FALSE(FindWindow("TBrokenWindow", "Kaputt"));
}

}  // namespace
}  // namespace vesk
