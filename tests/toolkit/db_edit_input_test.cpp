// What a data-aware edit does with the user's mistakes and habits: a value
// the field refuses is reported once and keeps the focus, typing while the
// dataset only browses says why nothing happens, masks take dates and times
// as Germans type them, and text stays within the field's size in
// characters. Driven through the widgets with keys and clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include "form_fixture.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "runtime/format_settings.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_grid.h"

namespace vesk {
namespace {

class DBEditInputTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    SetFormatSettings(FormatSettings{});
    const TDateTime now = EncodeDate(2026, 12, 8) + EncodeTime(8, 15, 0, 0);
    SetClockForTesting([now] { return now; });
    dataset->AddColumn("Nr", ftInteger);
    dataset->AddColumn("Name", ftString, 20);
    dataset->AddColumn("Datum", ftDateTime);
    dataset->AddColumn("Uhrzeit", ftTime);
    dataset->AddRow({Variant(1), Variant("Erster")});
    dataset->AddRow({Variant(2), Variant("Zweiter")});
    dataset->Open();
    dataset->FieldByName("Datum")->SetEditMask("!90/90/9900;1;_");
    dataset->FieldByName("Uhrzeit")->SetEditMask("!90:90;1;_");
    name = NewEdit("Name", 0);
    datum = NewEdit("Datum", 30);
    uhrzeit = NewEdit("Uhrzeit", 60);
  }
  void TearDown() override {
    SetClockForTesting({});
    FormFixture::TearDown();
  }
  TDBEdit* NewEdit(const char* field, int top) {
    auto* edit = new TDBEdit(form);
    edit->setGeometry(0, top, 200, 24);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
  }
  // A click far right in the edit, behind any text.
  static void ClickAtEnd(QWidget* edit) {
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(edit->width() - 4, edit->height() / 2));
  }
  static std::string Tip() { return QToolTip::isVisible() ? QToolTip::text().toStdString() : ""; }
  static void HideTip() {
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
  }
  // Each character as a key of its own (QTest's key clicks know ASCII only).
  static void TypeText(QWidget* control, const QString& text) {
    for (const uint c : text.toUcs4()) {
      const char32_t character = c;
      QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString::fromUcs4(&character, 1), Qt::NoModifier);
    }
  }

  TDBEdit* name = nullptr;
  TDBEdit* datum = nullptr;
  TDBEdit* uhrzeit = nullptr;
};

TEST_F(DBEditInputTest, RefusedValueIsReportedOnceAndKeepsFocusAndText) {
  auto* grid = new TDBGrid(form);
  grid->setGeometry(220, 0, 250, 200);
  grid->SetOptions(dgTitles | dgCancelOnExit);
  grid->AddColumn("Name", "Name", 120);
  grid->SetDataSource(source);
  ShowForm();
  dataset->Insert();
  datum->setFocus();
  QTest::keyClicks(datum, "31022026");
  QTest::keyClick(datum, Qt::Key_Tab);
  const std::string wrongDate = FormatMessage(kSInvalidDateTime, {"31.02.2026"});
  ASSERT_EQ(caught.errors, std::vector<std::string>{wrongDate});
  EXPECT_EQ(QApplication::focusWidget(), datum);
  EXPECT_EQ(datum->Text(), "31.02.2026");
  EXPECT_EQ(dataset->State(), dsInsert);

  // Another window taking the focus for a while, and coming back, say nothing.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  EXPECT_EQ(caught.errors.size(), 1u);
  EXPECT_EQ(datum->Text(), "31.02.2026");

  // A click into the list: one message, the untouched new record stays, the
  // list does not move.
  QTableWidget* table = grid->Table();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                    table->visualRect(table->model()->index(1, 0)).center());
  EXPECT_EQ(caught.errors.size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), datum);
  EXPECT_EQ(dataset->State(), dsInsert);
  EXPECT_EQ(datum->Text(), "31.02.2026");

  // Corrected, it goes in when the focus leaves.
  datum->setCursorPosition(0);
  QTest::keyClicks(datum, "28");
  QTest::keyClick(datum, Qt::Key_Tab);
  EXPECT_EQ(caught.errors.size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), uhrzeit);
  EXPECT_EQ(dataset->FieldByName("Datum")->AsDateTime(), EncodeDate(2026, 2, 28));

  // A time out of range the same way; Escape drops it, a second Escape the record.
  QTest::keyClicks(uhrzeit, "2561");
  name->setFocus();
  ASSERT_EQ(caught.errors.size(), 3u);
  EXPECT_EQ(caught.errors.back(), FormatMessage(kSInvalidTime, {"25:61"}));
  EXPECT_EQ(QApplication::focusWidget(), uhrzeit);
  QTest::keyClick(uhrzeit, Qt::Key_Escape);
  EXPECT_EQ(uhrzeit->Text(), "__:__");
  EXPECT_EQ(dataset->State(), dsInsert);
  QTest::keyClick(uhrzeit, Qt::Key_Escape);
  EXPECT_EQ(dataset->State(), dsBrowse);
  EXPECT_EQ(dataset->StoredCount(), 2);
  QTest::keyClick(uhrzeit, Qt::Key_Escape);  // nothing left to drop
  EXPECT_EQ(caught.errors.size(), 3u);
}

TEST_F(DBEditInputTest, TypingWhileBrowsingSaysHowToStartEditing) {
  ShowForm();
  source->SetAutoEdit(false);
  name->setFocus();
  QTest::keyClicks(name, "x");
  EXPECT_EQ(name->Text(), "Erster");
  EXPECT_EQ(Tip(), kSEditFirst);
  EXPECT_EQ(dataset->State(), dsBrowse);
  HideTip();
  QTest::keyClick(name, Qt::Key_Right);  // moving the caret changes nothing: no hint
  EXPECT_EQ(Tip(), "");
  dataset->Edit();
  QTest::keyClicks(name, "x");
  EXPECT_EQ(name->Text(), "Ersterx");

  dataset->Cancel();
  dataset->Close();
  dataset->SetReadOnly(true);
  dataset->Open();
  name->setFocus();
  QTest::keyClicks(name, "x");
  EXPECT_EQ(name->Text(), "Erster");
  EXPECT_EQ(Tip(), FormatMessage(kSFieldReadOnly, {"Name"}));
  EXPECT_TRUE(caught.errors.empty());
}

TEST_F(DBEditInputTest, MasksTakeDatesAndTimesAsTyped) {
  ShowForm();
  dataset->Insert();
  datum->setFocus();
  ClickAtEnd(datum);
  EXPECT_EQ(datum->cursorPosition(), 0) << "the first free position";
  QTest::keyClicks(datum, "1.12.2026");
  EXPECT_EQ(datum->Text(), "01.12.2026");
  ClickAtEnd(uhrzeit);
  QTest::keyClicks(uhrzeit, "9:30");
  EXPECT_EQ(uhrzeit->Text(), "09:30");
  QTest::keyClick(uhrzeit, Qt::Key_Tab);
  EXPECT_EQ(dataset->FieldByName("Datum")->AsDateTime(), EncodeDate(2026, 12, 1));
  EXPECT_NEAR(dataset->FieldByName("Uhrzeit")->AsDateTime(), EncodeTime(9, 30, 0, 0), 1e-9);

  // A part left short: written as if typed to the right, the year by the
  // century window; a separator with nothing to complete beeps and changes nothing.
  ClickAtEnd(datum);
  datum->selectAll();
  QTest::keyClick(datum, Qt::Key_Delete);
  EXPECT_EQ(datum->Text(), "__.__.____");
  QTest::keyClicks(datum, ".");
  EXPECT_EQ(datum->Text(), "__.__.____");
  QTest::keyClicks(datum, "5.6.");
  EXPECT_EQ(datum->Text(), "05.06.____");
  ClickAtEnd(datum);
  EXPECT_EQ(datum->cursorPosition(), 6);
  QTest::keyClicks(datum, "80");
  QTest::keyClick(datum, Qt::Key_Tab);
  EXPECT_TRUE(caught.errors.empty()) << caught.errors.front();
  EXPECT_EQ(dataset->FieldByName("Datum")->AsDateTime(), EncodeDate(1980, 6, 5));
  datum->setFocus();
  datum->selectAll();
  QTest::keyClicks(datum, "1.1.27");
  dataset->Post();
  EXPECT_EQ(dataset->FieldByName("Datum")->AsDateTime(), EncodeDate(2027, 1, 1));
  EXPECT_EQ(datum->Text(), "01.01.2027");

  // Still refused: a part that cannot be completed.
  dataset->Edit();
  datum->selectAll();
  QTest::keyClicks(datum, "1.1.");
  name->setFocus();
  EXPECT_EQ(caught.errors, std::vector<std::string>{std::string(kSMaskEditError)});
  EXPECT_EQ(QApplication::focusWidget(), datum);
}

TEST_F(DBEditInputTest, TextStaysWithinTheFieldSizeInCharacters) {
  ShowForm();
  name->setFocus();
  name->selectAll();
  const QString umlauts = QString::fromUtf8("ÄÖÜäöüßÄÖÜäöüßÄÖÜäöü");
  ASSERT_EQ(umlauts.size(), 20);
  TypeText(name, umlauts);
  EXPECT_EQ(name->text(), umlauts);
  QTest::keyClicks(name, "x");
  EXPECT_EQ(name->text(), umlauts) << "the 21st character is refused";
  EXPECT_EQ(Tip(), "Höchstens 20 Zeichen");

  // Pasted text goes in as far as it fits, the text behind the caret stays.
  HideTip();
  name->setText("Anfang Ende");
  name->setCursorPosition(7);
  QApplication::clipboard()->setText("0123456789ABCDEF");
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->Text(), "Anfang 012345678Ende");
  EXPECT_EQ(name->cursorPosition(), 16);
  EXPECT_EQ(Tip(), "Höchstens 20 Zeichen");

  // Characters beyond the 16-bit range count once.
  name->clear();
  const QString faces = QString::fromUtf8("😀").repeated(21);
  QApplication::clipboard()->setText(faces);
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), QString::fromUtf8("😀").repeated(20));
  EXPECT_EQ(dataset->State(), dsEdit);
  EXPECT_TRUE(caught.errors.empty());
}

}  // namespace
}  // namespace vesk
