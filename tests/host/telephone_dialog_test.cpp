#include "host/telephone_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "host/host_window.h"
#include "host/tools_library.h"
#include "platform/message_box.h"
#include "platform/telephony/sip_account.h"
#include "runtime/file_io.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_sound_cards.h"
#include "toolkit/button.h"

namespace vesk {
namespace {

class TelephoneDialogTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static QTemporaryDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    // No session bus: the password stays in the test's INI file.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    // The SIP library's core, which lists the sound devices, keeps its
    // files in the program folder.
    static QTemporaryDir home;
    setenv("VESK_HOME", home.path().toLocal8Bit().constData(), 1);
    static int argc = 1;
    static char name[] = "telephone_dialog_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete application_;
    application_ = nullptr;
  }

  template <class T>
  static T* Child(QWidget& dialog, const char* name) {
    T* child = dialog.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static std::vector<std::string> Items(QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
    return items;
  }
  // Chooses the entry as the user does, with the arrow keys.
  static void Choose(QComboBox* box, int index) {
    box->setFocus();
    while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
  }
  static void Type(QWidget& dialog, const char* name, const char* text) {
    QLineEdit* edit = Child<QLineEdit>(dialog, name);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromUtf8(text));
  }

  static QApplication* application_;
  TempFolder folder_;
  std::string ini_ = folder_.File("vesktools.ini");
};

QApplication* TelephoneDialogTest::application_ = nullptr;

TEST_F(TelephoneDialogTest, OkWritesWhatWasEnteredAndCancelNothing) {
  ASSERT_TRUE(WriteFileAtomically(ini_, "[Alarm]\nVorwarnzeit=30\n"));
  ASSERT_EQ(chmod(ini_.c_str(), 0644), 0);
  {
    TDlgTelefon dialog(ini_, nullptr);
    dialog.show();
    EXPECT_EQ(Child<QLineEdit>(dialog, "Passwort")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "Registrieren")->isChecked());
    Type(dialog, "Identitaet", "sip:max@fritz.box");
    Type(dialog, "Registrar", "sip:fritz.box");
    Type(dialog, "Benutzer", "620");
    Type(dialog, "Passwort", " geheim ");
    Child<QComboBox>(dialog, "Transport")->setCurrentText("tcp");
    QTest::mouseClick(Child<QCheckBox>(dialog, "Registrieren"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(dialog, "OK"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  const SipAccount expected{"sip:max@fritz.box", "sip:fritz.box", "620", " geheim ", "tcp", "", false, "", ""};
  EXPECT_EQ(ReadSipAccount(ini_), expected);
  struct stat info {};
  ASSERT_EQ(stat(ini_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  TDlgTelefon again(ini_, nullptr);
  again.show();
  EXPECT_EQ(Child<QLineEdit>(again, "Passwort")->text(), " geheim ");
  Type(again, "Identitaet", "sip:erika@fritz.box");
  QTest::mouseClick(Child<QPushButton>(again, "Abbrechen"), Qt::LeftButton);
  EXPECT_EQ(ReadSipAccount(ini_), expected);
}

// A device is stored by its id; a stored one not there is shown as such
// and chosen, so that OK keeps it unless the user picks another.
TEST_F(TelephoneDialogTest, TheSoundDevicesAreListedWithTheDefaultFirstAndStoredByTheirIds) {
  SetTestSoundCards({{"Headset"}, {"Mikro (USB)", MS_SND_CARD_CAP_CAPTURE}, {"Boxen", MS_SND_CARD_CAP_PLAYBACK}});
  SipAccount account;
  account.identity = "sip:max@fritz.box";
  account.registrar = "sip:fritz.box";
  account.microphone = "Test Unknown: Mikrofon von gestern";
  ASSERT_TRUE(WriteSipAccount(ini_, account));
  {
    TDlgTelefon dialog(ini_, nullptr);
    dialog.show();
    QComboBox* microphone = Child<QComboBox>(dialog, "Mikrofon");
    QComboBox* speaker = Child<QComboBox>(dialog, "Lautsprecher");
    ASSERT_TRUE(microphone && speaker);
    EXPECT_EQ(Items(microphone), (std::vector<std::string>{"Standard (Headset)", "Headset", "Mikro (USB)",
                                                           "Test Unknown: Mikrofon von gestern (nicht vorhanden)"}));
    EXPECT_EQ(microphone->currentIndex(), 3);
    EXPECT_EQ(Items(speaker), (std::vector<std::string>{"Standard (Headset)", "Headset", "Boxen"}));
    EXPECT_EQ(speaker->currentIndex(), 0);
    QTest::mouseClick(Child<QPushButton>(dialog, "OK"), Qt::LeftButton);
  }
  EXPECT_EQ(ReadSipAccount(ini_), account) << "nothing chosen, nothing changed";

  {
    TDlgTelefon dialog(ini_, nullptr);
    dialog.show();
    Choose(Child<QComboBox>(dialog, "Mikrofon"), 2);
    Choose(Child<QComboBox>(dialog, "Lautsprecher"), 2);
    QTest::mouseClick(Child<QPushButton>(dialog, "OK"), Qt::LeftButton);
  }
  account.microphone = "Test Unknown: Mikro (USB)";
  account.speaker = "Test Unknown: Boxen";
  EXPECT_EQ(ReadSipAccount(ini_), account);
  struct stat info {};
  ASSERT_EQ(stat(ini_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  // Chosen again when the dialog opens; the one for the default stores none.
  TDlgTelefon dialog(ini_, nullptr);
  dialog.show();
  EXPECT_EQ(Child<QComboBox>(dialog, "Mikrofon")->currentText(), "Mikro (USB)");
  EXPECT_EQ(Child<QComboBox>(dialog, "Mikrofon")->count(), 3) << "the one not there is gone";
  EXPECT_EQ(Child<QComboBox>(dialog, "Lautsprecher")->currentText(), "Boxen");
  Choose(Child<QComboBox>(dialog, "Lautsprecher"), 0);
  QTest::mouseClick(Child<QPushButton>(dialog, "OK"), Qt::LeftButton);
  account.speaker.clear();
  EXPECT_EQ(ReadSipAccount(ini_), account);
}

TEST_F(TelephoneDialogTest, AFileThatCannotBeWrittenKeepsTheDialogOpen) {
  std::vector<MessageBoxRequest> boxes;
  SetMessageBoxHook([&](const MessageBoxRequest& request) {
    boxes.push_back(request);
    return MbResult::Ok;
  });
  TDlgTelefon dialog(folder_.File("fehlt/vesktools.ini"), nullptr);
  dialog.show();
  Type(dialog, "Passwort", "geheim");
  QTest::mouseClick(Child<QPushButton>(dialog, "OK"), Qt::LeftButton);
  SetMessageBoxHook({});
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.find("geheim"), std::string::npos);
}

TEST_F(TelephoneDialogTest, TheHostWindowOpensItOnItsOwnFile) {
  ScopedEnv home("VESK_HOME", folder_.Path());
  ToolsLibrary library(FAKE_TOOLS_LIBRARY);
  ASSERT_TRUE(library.Load()) << library.ErrorText();
  TFRVeskTools window(library, 0xC123);
  window.Show();
  TButton* button = window.Button("Telefon…");
  ASSERT_NE(button, nullptr);
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    shown = dialog != nullptr;
    if (dialog != nullptr) dialog->reject();
  });
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace vesk
