#include "host/host_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/alarm_status.h"
#include "host/host_ending.h"
#include "host/tools_library.h"
#include "platform/message_box.h"
#include "platform/window_messages.h"
#include "toolkit/button.h"
#include "toolkit/status_bar.h"

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
    EXPECT_EQ(button->toolTip().toStdString(), "Kommt in einer späteren Version") << caption;
  }
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

TEST_F(HostWindowTest, CentredAndAsWideWhateverItsStatusSays) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  const QRect screen = window_->screen()->availableGeometry();
  EXPECT_LE(std::abs(window_->frameGeometry().center().x() - screen.center().x()), 2);
  EXPECT_LE(std::abs(window_->frameGeometry().center().y() - screen.center().y()), 2);
  EXPECT_TRUE(screen.contains(window_->frameGeometry().topLeft())) << "the title bar lies on the screen";

  const int width = window_->width();
  auto* status = window_->findChild<TStatusBar*>();
  EXPECT_GE(status->width(), status->fontMetrics().horizontalAdvance(QString::fromStdString(AlarmRunningText({}))))
      << "the usual text fits";
  const std::string text = AlarmRunningText({1440, 1440}) + "; " + AlarmRunningText({120, 10});
  window_->SetStatusText(text);
  QApplication::processEvents();
  EXPECT_EQ(window_->width(), width);
  EXPECT_EQ(window_->StatusText(), text);
  EXPECT_EQ(status->toolTip().toStdString(), text) << "all of it on hover";
  window_->SetStatusText("kurz");
  QApplication::processEvents();
  EXPECT_EQ(window_->width(), width);
}

TEST(AlarmStatus, SaysMinutesInWholeSentences) {
  EXPECT_EQ(AlarmRunningText({120, 10}), "alarm läuft: Vorwarnzeit 120 Minuten, Wiederholung alle 10 Minuten");
  EXPECT_EQ(AlarmRunningText({1, 1}), "alarm läuft: Vorwarnzeit 1 Minute, Wiederholung jede Minute");
  EXPECT_EQ(AlarmRunningText({0, 2}), "alarm läuft: Vorwarnzeit 0 Minuten, Wiederholung alle 2 Minuten");
}

class StubbornWindow : public QWidget {
 public:
  int asked = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++asked;
    event->ignore();
  }
};

TEST_F(HostWindowTest, ItsCloseEndsTheHostWithABoxOpenAndAWindowRefusingToClose) {
  window_->OnClose = [](TForm& form, TCloseAction&) { EndHost(form); };
  StubbornWindow stubborn;
  stubborn.show();
  MessageBoxRequest request;
  request.text = "kaputt";
  request.caption = "Stur";
  request.buttons = MbButtons::YesNo;
  request.defaultButton = MbResult::No;
  request.owner = &stubborn;
  std::vector<std::string> steps;
  QTimer watch;  // answers a box that should not have been shown
  watch.setSingleShot(true);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      steps.push_back("box shown while ending");
      QTest::keyClick(box, Qt::Key_Escape);
    }
  });
  QTimer::singleShot(0, [&] {
    // The user closes the host while an error box of the other window waits.
    QTimer::singleShot(0, [&] {
      if (QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000)) {
        steps.push_back("box open");
      }
      window_->close();
    });
    ShowMessageBox(request);
    steps.push_back("box left");
    // What the window does next asks again: answered at once, never shown.
    watch.start(2000);
    request.defaultButton = MbResult::Yes;
    steps.push_back(ShowMessageBox(request) == MbResult::Yes ? "answered at once" : "answered by the user");
  });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(steps, (std::vector<std::string>{"box open", "box left", "answered at once"}));
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(stubborn.isVisible());
  EXPECT_EQ(stubborn.asked, 1) << "asked to close, its refusal did not hold the end up";
  request.defaultButton = MbResult::No;
  watch.start(2000);
  EXPECT_EQ(ShowMessageBox(request), MbResult::No) << "also after the event loop";
  EXPECT_EQ(steps.size(), 3u);
  SetMessageBoxesShown(true);
}

}  // namespace
}  // namespace vesk
