// Forms: close query and close actions, window lookup and posted messages,
// errors in handlers, key preview, modal results, creation and destruction.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "forms_support.h"
#include "runtime/exceptions.h"
#include "toolkit/application.h"
#include "toolkit/design_scale.h"
#include "toolkit/form.h"

namespace vesk {
namespace {

TForm* ShownForm(const char* windowClass, const char* caption) {
  auto* form = new TForm(windowClass, caption);
  form->SetClientSize(200, 100);
  form->Show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
  return form;
}

TEST(FormTest, CloseQueryAndCloseActions) {
  QPointer<TForm> form = ShownForm("TFRClose", "Close");
  std::vector<std::string> log;
  bool allow = false;
  TCloseAction next = caNone;
  form->OnCloseQuery = [&](TForm&, bool& canClose) {
    log.push_back("query");
    canClose = allow;
  };
  form->OnClose = [&](TForm&, TCloseAction& action) {
    EXPECT_EQ(action, caHide);  // the default action
    log.push_back("close");
    action = next;
  };
  form->OnDestroy = [&](TForm&) { log.push_back("destroy"); };

  form->Close();  // refused by the query: OnClose does not run
  EXPECT_TRUE(form->isVisible());
  allow = true;
  form->Close();  // caNone: stays
  EXPECT_TRUE(form->isVisible());
  next = caHide;
  form->Close();
  ProcessEvents();
  ASSERT_FALSE(form.isNull());
  EXPECT_FALSE(form->isVisible());
  form->Show();
  next = caFree;
  form->Close();
  EXPECT_FALSE(form.isNull());  // freed after the close event, not inside it
  ProcessEvents();
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close", "query", "close", "query", "close", "destroy"}));
  EXPECT_TRUE(Application().Windows().empty());
}

TEST(FormTest, FoundByClassAndCaptionWhileItExists) {
  std::optional<WindowHandle> before = FindWindow("TFRTermine", "Termine");
  EXPECT_FALSE(before.has_value());
  auto* form = new TForm("TFRTermine", "Termine");  // never shown
  std::vector<uintptr_t> received;
  form->OnMessage = [&](uint16_t, uintptr_t wParam, intptr_t) { received.push_back(wParam); };
  std::optional<WindowHandle> found = FindWindow("tfrtermine", "Termine");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, form->Handle());
  EXPECT_FALSE(FindWindow("TFRTermine", "Notizen").has_value());

  ASSERT_TRUE(PostMessage(*found, 0xC123, 7, 0));
  for (int i = 0; i < 100 && received.empty(); ++i) QTest::qWait(10);
  EXPECT_EQ(received, std::vector<uintptr_t>{7});

  ASSERT_TRUE(form->SetCaption("Andere"));
  EXPECT_FALSE(FindWindow("TFRTermine", "Termine").has_value());
  EXPECT_TRUE(FindWindow("TFRTermine", "Andere").has_value());
  form->Free();
  EXPECT_FALSE(FindWindow("TFRTermine", "Andere").has_value());
}

TEST(FormTest, ExceptionInHandlerIsShownAndWindowStaysOpen) {
  CaughtMessages caught;
  QPointer<TForm> form = ShownForm("TFRFehler", "Fehler");
  form->OnCloseQuery = [](TForm&, bool&) { throw EDatabaseError("Fehler in der Eingabe"); };
  form->OnKeyDown = [](TForm&, int&, TShiftState) { throw std::runtime_error("Taste"); };
  form->Close();
  QTest::keyClick(form, Qt::Key_X);
  ProcessEvents();
  ASSERT_FALSE(form.isNull());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(caught.errors, (std::vector<std::string>{"Fehler in der Eingabe", "Taste"}));
  form->Free();
}

TEST(FormTest, DefaultErrorDisplayIsAMessageBox) {
  CaughtMessages caught;
  Application().OnException = nullptr;
  Application().SetTitle("Tools");
  Application().HandleException(Exception("kaputt"));
  ASSERT_EQ(caught.boxes.size(), 1u);
  EXPECT_EQ(caught.boxes[0].text, "kaputt");
  EXPECT_EQ(caught.boxes[0].caption, "Tools");
  EXPECT_EQ(caught.boxes[0].icon, MbIcon::Error);
  Application().SetTitle("");
}

struct KeyLog {
  std::vector<std::string> keys;
  TKeyEvent Handler(bool swallow = false) {
    return [this, swallow](TForm&, int& key, TShiftState shift) {
      if (key >= Qt::Key_Shift && key <= Qt::Key_Alt) return;
      keys.push_back(std::string(1, static_cast<char>(key)) + (shift == ssCtrl ? "^" : shift ? "+" : ""));
      if (swallow && key == 'Q') key = 0;
    };
  }
};

TEST(FormTest, KeyPreviewSeesKeysBeforeTheFocusedControl) {
  TForm* form = ShownForm("TFRKeys", "Keys");
  auto* edit = new QLineEdit(form);
  edit->show();
  KeyLog log;
  form->OnKeyDown = log.Handler(true);
  form->SetKeyPreview(true);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClicks(edit, "xq");  // q is taken by the handler
  EXPECT_EQ(log.keys, (std::vector<std::string>{"C^", "C+", "X", "Q"}));
  EXPECT_EQ(edit->text(), "x");
  form->Free();
}

TEST(FormTest, WithoutKeyPreviewOnlyKeysNoControlHas) {
  TForm* form = ShownForm("TFRKeys", "Keys");
  auto* edit = new QLineEdit(form);
  edit->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  KeyLog log;
  form->OnKeyDown = log.Handler();
  QTest::keyClick(form, Qt::Key_C, Qt::ControlModifier);  // nothing focused yet
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Escape);  // ignored by the edit, still not the form's
  EXPECT_EQ(log.keys, std::vector<std::string>{"C^"});
  form->Free();
}

TEST(FormTest, ShowModalReturnsTheResult) {
  TForm* form = new TForm("TDlgTest", "Text");
  form->SetClientSize(100, 50);
  form->SetBorderStyle(bsDialog);
  QTimer::singleShot(0, form, [form] { form->SetModalResult(mrOk); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->size(), QSize(Scale(100), Scale(50)));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());  // fixed border

  // Refused closes keep the dialog running; a plain close is a cancel.
  int queries = 0;
  form->OnCloseQuery = [&](TForm&, bool& canClose) { canClose = ++queries > 1; };
  QTimer::singleShot(0, form, [form] {
    form->SetModalResult(mrOk);
    EXPECT_EQ(form->ModalResult(), mrNone);
    form->Close();
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(queries, 2);
  form->Free();
}

TEST(FormTest, CreateAfterLoadingActivateOnEachActivation) {
  std::vector<std::string> log;
  auto* form = new TForm("TFRLoad", "Load");
  form->BeginLoading();
  form->OnCreate = [&](TForm&) { log.push_back("create"); };
  form->OnActivate = [&](TForm&) { log.push_back("activate"); };
  EXPECT_TRUE(log.empty());
  form->EndLoading();
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  TForm* other = ShownForm("TFROther", "Other");
  ASSERT_TRUE(QTest::qWaitForWindowActive(other));
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  EXPECT_EQ(log, (std::vector<std::string>{"create", "activate", "activate"}));
  EXPECT_EQ(Application().Windows(), (std::vector<TForm*>{form, other}));
  Application().DestroyWindows();
  EXPECT_TRUE(Application().Windows().empty());
}

TEST(FormTest, PlacedCentredOrAtDesignPosition) {
  auto* centred = new TForm("TFRPlace", "Centred");
  centred->SetClientSize(300, 200);
  centred->SetPosition(poScreenCenter);
  centred->Show();
  const QRect screen = centred->screen()->availableGeometry();
  EXPECT_LE(std::abs(centred->frameGeometry().center().x() - screen.center().x()), 2);
  EXPECT_LE(std::abs(centred->frameGeometry().center().y() - screen.center().y()), 2);
  auto* designed = new TForm("TFRPlace", "Designed");
  designed->SetDesignPosition(120, 240);
  designed->Show();
  EXPECT_EQ(designed->pos(), QPoint(Scale(120), Scale(240)));
  Application().DestroyWindows();
}

}  // namespace
}  // namespace vesk
