// Windows as a desktop expects them: a dialog border without a maximise
// button, a minimised window brought back by Show, error boxes over the
// window they belong to, Enter and Esc on a window's default and cancel
// buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <vector>

#include "forms_support.h"
#include "runtime/exceptions.h"
#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/form.h"

namespace vesk {
namespace {

TForm* ShownForm(const char* caption, TFormBorderStyle border = bsSizeable) {
  auto* form = new TForm("TFRManners", caption);
  form->SetBorderStyle(border);
  form->SetClientSize(200, 100);
  form->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(form));
  return form;
}

class WindowManners : public testing::Test {
 protected:
  ~WindowManners() override { Application().DestroyWindows(); }
};

TEST_F(WindowManners, ADialogBorderOffersNoMaximiseButton) {
  TForm* dialog = ShownForm("Dialog", bsDialog);
  const Qt::WindowFlags flags = dialog->windowFlags();
  EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "only the buttons named below";
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  EXPECT_TRUE(dialog->isVisible()) << "changing the flags did not hide it";
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());

  TForm* sizeable = ShownForm("Sizeable");
  EXPECT_FALSE(sizeable->windowFlags() & Qt::CustomizeWindowHint) << "the desktop's full title bar";
  EXPECT_LT(sizeable->minimumSize().width(), sizeable->maximumSize().width());
}

TEST_F(WindowManners, ShowBringsAMinimisedWindowBackRaisedAndActive) {
  TForm* first = ShownForm("Erstes");
  const QSize size = first->size();
  first->showMinimized();
  TForm* second = ShownForm("Zweites");
  ASSERT_TRUE(first->isMinimized());

  first->Show();
  EXPECT_FALSE(first->isMinimized());
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(first));
  EXPECT_EQ(first->size(), size);
  EXPECT_FALSE(second->isActiveWindow());
}

// The box that is open now, with its owner and modality, answered with Esc.
struct OpenBox {
  QPointer<QWidget> owner;
  Qt::WindowModality modality = Qt::NonModal;
  QString text;
};

void AnswerWhenOpen(OpenBox& seen) {
  QTimer::singleShot(0, [&seen] {
    QWidget* box = nullptr;
    if (!QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()) != nullptr; }, 5000)) return;
    seen.owner = box->parentWidget();
    seen.modality = box->windowModality();
    seen.text = static_cast<QMessageBox*>(box)->text();
    QTest::keyClick(box, Qt::Key_Escape);
  });
}

TEST_F(WindowManners, AnErrorBoxStandsOverTheWindowItBelongsTo) {
  Application().SetTitle("Manners");
  TForm* first = ShownForm("Erstes");
  TForm* second = ShownForm("Zweites");
  OpenBox seen;
  AnswerWhenOpen(seen);
  Application().HandleException(Exception("kaputt"));
  EXPECT_EQ(seen.text, "kaputt");
  EXPECT_EQ(seen.owner, second) << "the active window";
  EXPECT_EQ(seen.modality, Qt::WindowModal) << "the other windows stay usable";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // A hidden window owns no box.
  second->hide();
  first->Show();
  CaughtMessages caught;
  Application().OnException = nullptr;
  Application().HandleException(Exception("wieder"));
  ASSERT_EQ(caught.boxes.size(), 1u);
  EXPECT_EQ(caught.boxes[0].owner, first);

  // A box over a window that is freed while it is open goes with it.
  QTimer::singleShot(0, [first] {
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000));
    delete first;
  });
  MessageBoxRequest request;
  request.text = "weg";
  request.buttons = MbButtons::YesNo;
  request.owner = first;
  SetMessageBoxHook(nullptr);
  EXPECT_EQ(ShowMessageBox(request), MbResult::No) << "answered as closed without a button";
  Application().SetTitle("");
}

TEST_F(WindowManners, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
  TForm* form = ShownForm("Tasten");
  auto* edit = new QLineEdit(form);
  auto* ok = new TButton("&OK", form);
  auto* cancel = new TButton("&Abbrechen", form);
  auto* other = new TButton("&Mehr", form);
  std::vector<std::string> pressed;
  for (TButton* button : {ok, cancel, other}) {
    button->OnClick = [&pressed](TButton& b) { pressed.push_back(b.text().toStdString()); };
    button->show();
  }
  ok->SetDefault(true);
  cancel->SetCancel(true);
  edit->show();
  edit->setFocus();

  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClick(edit, Qt::Key_Escape);
  QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);  // not a plain Enter
  EXPECT_EQ(pressed, (std::vector<std::string>{"&OK", "&OK", "&Abbrechen"}));

  // Enter on a focused button presses that one; Esc stays the cancel button's.
  pressed.clear();
  for (TButton* button : {cancel, other}) {
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
  }
  QTest::keyClick(other, Qt::Key_Escape);
  EXPECT_EQ(pressed, (std::vector<std::string>{"&Abbrechen", "&Mehr", "&Abbrechen"}));

  // A disabled default button is not pressed; keys of other windows are not its.
  pressed.clear();
  ok->setEnabled(false);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  TForm* elsewhere = ShownForm("Anderes");
  auto* foreign = new QLineEdit(elsewhere);
  foreign->show();
  foreign->setFocus();
  QTest::keyClick(foreign, Qt::Key_Escape);
  EXPECT_TRUE(pressed.empty());

  // In a window without a default button Enter presses the focused one too.
  auto* lone = new TButton("&Allein", elsewhere);
  lone->OnClick = [&pressed](TButton& b) { pressed.push_back(b.text().toStdString()); };
  lone->show();
  lone->setFocus();
  QTest::keyClick(lone, Qt::Key_Return);
  QTest::keyClick(lone, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(pressed, std::vector<std::string>{"&Allein"});
}

}  // namespace
}  // namespace vesk
