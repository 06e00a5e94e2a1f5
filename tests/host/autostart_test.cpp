#include "host/autostart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_tray.h"
#include "host/host_window.h"
#include "host/running_host.h"
#include "host/tools_library.h"
#include "platform/message_box.h"
#include "tests/support/scoped_env.h"

namespace vesk {
namespace {

std::string Contents(const std::string& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// desktop-file-validate's verdict on the file: its complaints, "" when none.
std::string Complaints(const std::string& file) {
  QProcess validate;
  validate.setProcessChannelMode(QProcess::MergedChannels);
  validate.start("desktop-file-validate", {QString::fromStdString(file)});
  if (!validate.waitForFinished(20000)) return "desktop-file-validate did not run (scripts/install-deps)";
  const std::string output = validate.readAll().toStdString();
  return validate.exitCode() == 0 ? output : "exit " + std::to_string(validate.exitCode()) + ": " + output;
}

// On its indicator: a box stretched by the layout takes no click beyond its text.
void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

class AutostartTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid());
    SetMessageBoxHook([this](const MessageBoxRequest& request) {
      boxes_.push_back(request.text);
      return MbResult::Ok;
    });
    ASSERT_TRUE(library_.Load()) << library_.ErrorText();
  }
  void TearDown() override { SetMessageBoxHook(nullptr); }

  std::unique_ptr<TFRVeskTools> ShownWindow() {
    auto window = std::make_unique<TFRVeskTools>(library_, 0xC123);
    window->Show();
    return window;
  }

  QTemporaryDir config_;
  ScopedEnv configHome_{"XDG_CONFIG_HOME", config_.path().toStdString()};
  ToolsLibrary library_{FAKE_TOOLS_LIBRARY};
  std::vector<std::string> boxes_;
};

TEST_F(AutostartTest, TheCheckBoxWritesAValidEntryAndUntickingRemovesIt) {
  const std::string entry = config_.path().toStdString() + "/autostart/vesktools.desktop";
  EXPECT_EQ(AutostartEntryFile(), entry);
  auto window = ShownWindow();
  auto* box = window->findChild<QCheckBox*>("CBAutostart");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text().toStdString(), "Beim Anmelden starten");
  EXPECT_FALSE(box->isChecked());

  ClickBox(box);
  EXPECT_TRUE(box->isChecked());
  const std::string text = Contents(entry);
  const std::string program = QCoreApplication::applicationFilePath().toStdString();
  EXPECT_NE(text.find("\nExec=" + program + " --minimized\n"), std::string::npos) << text;
  EXPECT_EQ(Complaints(entry), "");

  // A later window finds the box ticked; unticking removes the entry.
  window = ShownWindow();
  box = window->findChild<QCheckBox*>("CBAutostart");
  EXPECT_TRUE(box->isChecked());
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(AutostartEntryExists());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(AutostartTest, AProgramPathWithReservedCharactersIsQuotedForTheExecKey) {
  WriteAutostartEntry("/opt/Vesk Tools/$HOME \"neu\"/100%/a\\b/vesktools");
  const std::string text = Contents(AutostartEntryFile());
  EXPECT_NE(text.find("\nExec=\"/opt/Vesk Tools/\\\\$HOME \\\\\"neu\\\\\"/100%%/a\\\\\\\\b/vesktools\" --minimized\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(Complaints(AutostartEntryFile()), "");
  RemoveAutostartEntry();
  EXPECT_FALSE(AutostartEntryExists());
  RemoveAutostartEntry();  // nothing there: nothing to do
}

TEST_F(AutostartTest, AnEntryThatCannotBeWrittenIsReportedAndTheBoxStaysUnticked) {
  // A file where the autostart folder belongs.
  std::ofstream(config_.path().toStdString() + "/autostart") << "kein Ordner";
  auto window = ShownWindow();
  auto* box = window->findChild<QCheckBox*>("CBAutostart");
  ClickBox(box);
  EXPECT_FALSE(box->isChecked());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("lässt sich nicht anlegen"), std::string::npos) << boxes_[0];
}

TEST_F(AutostartTest, TrayMenuOpensAndEnds) {
  int opened = 0;
  int ended = 0;
  HostTray tray([&] { ++opened; }, [&] { ++ended; });
  QMenu& menu = tray.Menu();
  ASSERT_EQ(menu.actions().size(), 2);
  EXPECT_EQ(menu.actions()[0]->text().toStdString(), "Tools öffnen");
  EXPECT_EQ(menu.actions()[1]->text().toStdString(), "Beenden");
  for (int downs : {1, 2}) {
    menu.popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    for (int i = 0; i < downs; ++i) QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu.isVisible(); }, 5000));
  }
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(ended, 1);
}

TEST_F(AutostartTest, ALaterHostOpensTheHiddenWindowOfTheRunningOne) {
  EXPECT_FALSE(HandOverToRunningHost(false)) << "no host yet";
  TFRVeskTools window(library_, 0xC123);
  int notified = 0;
  window.OnVeskTools = [&](uintptr_t) { ++notified; };
  std::vector<std::string> dialled;
  OpenOnRequest(window, [&](const std::string& callee) { dialled.push_back(callee); });
  ASSERT_FALSE(window.isVisible());

  // Minimised, the later host just leaves the running one as it is.
  EXPECT_TRUE(HandOverToRunningHost(true));
  QTest::qWait(200);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(HandOverToRunningHost(false));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
  // The library's notifications still arrive.
  ASSERT_TRUE(PostMessage(window.Handle(), 0xC123, 0, 0));
  EXPECT_TRUE(QTest::qWaitFor([&] { return notified == 1; }, 5000));
  EXPECT_TRUE(dialled.empty());
}

TEST_F(AutostartTest, ALaterHostHandsItsNumbersToTheRunningOneToDial) {
  EXPECT_FALSE(HandDialOverToRunningHost("0711 123456")) << "no host yet";
  TFRVeskTools window(library_, 0xC123);
  std::vector<std::string> dialled;
  OpenOnRequest(window, [&](const std::string& callee) { dialled.push_back(callee); });
  const std::vector<std::string> callees = {"+49-711-123456", "sip:max@fritz.box", "(0711) 12 34-56"};
  for (const std::string& callee : callees) EXPECT_TRUE(HandDialOverToRunningHost(callee));
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialled.size() == callees.size(); }, 5000));
  EXPECT_EQ(dialled, callees);
  EXPECT_FALSE(window.isVisible()) << "a dial is no request to show the host";
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace vesk
