#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

MessageBoxRequest Request(MbButtons buttons, MbResult defaultButton = MbResult::Ok) {
  MessageBoxRequest request;
  request.text = "\r  Sie haben einen Termin um 14:30:00\r\rSoll die Erinnerung wiederholt werden ?\r";
  request.caption = "Termin";
  request.buttons = buttons;
  request.icon = MbIcon::Question;
  request.defaultButton = defaultButton;
  return request;
}

TEST(MessageBox, HookAnswersAndEveryBoxLeavesATrace) {
  std::vector<MessageBoxRequest> seen;
  SetMessageBoxHook([&seen](const MessageBoxRequest& request) {
    seen.push_back(request);
    return MbResult::No;
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNo)), MbResult::No);
  ShowMessage("Registrierung nicht ausgef\xC3\xBChrt", "Error", MbIcon::Error);
  SetMessageBoxHook({});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, "Termin");
  EXPECT_EQ(seen[0].buttons, MbButtons::YesNo);
  EXPECT_EQ(seen[1].text, "Registrierung nicht ausgef\xC3\xBChrt");
  EXPECT_EQ(seen[1].buttons, MbButtons::Ok);
  EXPECT_EQ(seen[1].icon, MbIcon::Error);
  // The hook is gone: without an application the default answers.
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNo, MbResult::No)), MbResult::No);
  std::string trace = testing::internal::GetCapturedStderr();
  std::string question =
      "Termin: \n  Sie haben einen Termin um 14:30:00\n\nSoll die Erinnerung wiederholt werden ?\n\n";
  EXPECT_EQ(trace, question + "Error: Registrierung nicht ausgef\xC3\xBChrt\n" + question);
}

TEST(MessageBox, WithoutGuiTheDefaultButtonAnswers) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNo)), MbResult::Yes) << "Yes unless set";
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNo, MbResult::No)), MbResult::No);
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::OkCancel, MbResult::Cancel)), MbResult::Cancel);
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNoCancel, MbResult::Cancel)), MbResult::Cancel);
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::Ok, MbResult::No)), MbResult::Ok) << "a default the box does not offer";
  int argc = 1;
  char name[] = "platform_tests";
  char* argv[] = {name, nullptr};
  {
    QCoreApplication console(argc, argv);
    EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNo, MbResult::No)), MbResult::No);
  }
  testing::internal::GetCapturedStderr();
}

// Hands the message box to act once it is open.
class BoxWatcher {
 public:
  explicit BoxWatcher(std::function<void(QMessageBox&)> act) {
    QObject::connect(&timer_, &QTimer::timeout, [this, act] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      timer_.stop();
      act(*box);
    });
    timer_.start(10);
  }

 private:
  QTimer timer_;
};

QString ButtonText(QMessageBox& box, QMessageBox::StandardButton button) {
  QAbstractButton* shown = box.button(button);
  return shown ? shown->text().remove('&') : QString();
}

class MessageBoxGui : public ::testing::Test {
 protected:
  int argc_ = 1;
  char name_[15] = "platform_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication application_{argc_, argv_};
};

TEST_F(MessageBoxGui, ShowsAGermanQuestionAndReturnsTheClickedButton) {
  struct Seen {
    QString title, text, yes, no, defaultText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    bool active = false;
  } seen;
  BoxWatcher watcher([&seen](QMessageBox& box) {
    seen.title = box.windowTitle();
    seen.text = box.text();
    seen.icon = box.icon();
    seen.format = box.textFormat();
    seen.yes = ButtonText(box, QMessageBox::Yes);
    seen.no = ButtonText(box, QMessageBox::No);
    seen.defaultText = box.defaultButton() ? box.defaultButton()->text().remove('&') : "";
    seen.active = QTest::qWaitForWindowActive(&box, 2000);
    QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
  });
  testing::internal::CaptureStderr();
  MbResult result = ShowMessageBox(Request(MbButtons::YesNo));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, MbResult::No);
  EXPECT_EQ(seen.title.toStdString(), "Termin");
  EXPECT_EQ(seen.text.toStdString(),
            "\n  Sie haben einen Termin um 14:30:00\n\nSoll die Erinnerung wiederholt werden ?\n");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.yes.toStdString(), "Ja");
  EXPECT_EQ(seen.no.toStdString(), "Nein");
  EXPECT_EQ(seen.defaultText.toStdString(), "Ja");
  EXPECT_TRUE(seen.active) << "the box is brought to the front";
}

TEST_F(MessageBoxGui, ButtonsIconsAndEscape) {
  struct Case {
    MbButtons buttons;
    MbIcon icon;
    std::vector<QString> texts;
    QMessageBox::Icon qtIcon;
    MbResult escape;
  };
  for (const Case& c :
       {Case{MbButtons::Ok, MbIcon::Information, {"OK"}, QMessageBox::Information, MbResult::Ok},
        Case{MbButtons::OkCancel, MbIcon::Warning, {"OK", "Abbrechen"}, QMessageBox::Warning, MbResult::Cancel},
        Case{MbButtons::YesNo, MbIcon::Error, {"Ja", "Nein"}, QMessageBox::Critical, MbResult::No},
        Case{MbButtons::YesNoCancel,
             MbIcon::None,
             {"Ja", "Nein", "Abbrechen"},
             QMessageBox::NoIcon,
             MbResult::Cancel}}) {
    std::vector<QString> texts;
    QMessageBox::Icon icon = QMessageBox::Question;
    BoxWatcher watcher([&](QMessageBox& box) {
      for (QAbstractButton* button : box.buttons()) texts.push_back(button->text().remove('&'));
      icon = box.icon();
      QTest::keyClick(&box, Qt::Key_Escape);
    });
    MessageBoxRequest request;
    request.text = "<b>kein Markup</b>";
    request.caption = "Fehler";
    request.buttons = c.buttons;
    request.icon = c.icon;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox(request), c.escape);
    testing::internal::GetCapturedStderr();
    std::sort(texts.begin(), texts.end());
    std::vector<QString> expected = c.texts;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(icon, c.qtIcon);
  }
}

TEST_F(MessageBoxGui, NonInteractiveShowsNoBox) {
  ScopedEnv quiet("VESK_NONINTERACTIVE", "1");
  bool shown = false;
  BoxWatcher watcher([&shown](QMessageBox& box) {
    shown = true;
    box.reject();
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessageBox(Request(MbButtons::YesNo, MbResult::No)), MbResult::No);
  std::string trace = testing::internal::GetCapturedStderr();
  EXPECT_NE(trace.find("Termin: "), std::string::npos);
  QTest::qWait(50);
  EXPECT_FALSE(shown);
}

}  // namespace
}  // namespace vesk
