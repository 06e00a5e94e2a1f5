// Data-aware edits, memo, text and combo box driven through their widgets:
// automatic editing, input written at post and when the focus leaves,
// Escape, edit masks typed into, drop-down lists.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "form_fixture.h"
#include "toolkit/data/field.h"
#include "toolkit/db_combo_box.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_memo.h"
#include "toolkit/db_text.h"

namespace vesk {
namespace {

class DBControlsTest : public FormFixture {
 protected:
  TDBEdit* NewEdit(const char* field) {
    auto* edit = new TDBEdit(form);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    edit->show();
    return edit;
  }
};

TEST_F(DBControlsTest, TypingStartsEditingOnlyWithAutoEdit) {
  Open(3);
  TDBEdit* name = NewEdit("Name");
  ShowForm();
  EXPECT_EQ(name->Text(), "Name1");
  source->SetAutoEdit(false);
  name->setFocus();
  QTest::keyClicks(name, "xy");
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(name->Text(), "Name1");
  EXPECT_EQ(dataset->State(), dsBrowse);

  source->SetAutoEdit(true);
  name->setCursorPosition(5);
  QTest::keyClicks(name, "xy");
  EXPECT_EQ(dataset->State(), dsEdit);
  EXPECT_EQ(name->Text(), "Name1xy");
  EXPECT_EQ(dataset->FieldByName("Name")->AsString(), "Name1") << "written at post, not per key";
  dataset->Post();
  EXPECT_EQ(Stored(1, "Name"), "Name1xy");
  dataset->First();
  EXPECT_EQ(name->Text(), "Name1xy");
  dataset->Next();
  EXPECT_EQ(name->Text(), "Name2") << "follows the active record";
}

TEST_F(DBControlsTest, LeavingTheControlWritesAndEscapeDrops) {
  Open(2);
  TDBEdit* name = NewEdit("Name");
  auto* memo = new TDBMemo(form);
  memo->SetDataSource(source);
  memo->SetDataField("Text");
  memo->show();
  ShowForm();
  EXPECT_EQ(memo->Text(), "Text1");
  name->setFocus();
  name->setCursorPosition(5);
  QTest::keyClicks(name, "a");
  memo->setFocus();
  EXPECT_EQ(dataset->State(), dsEdit);
  EXPECT_EQ(dataset->FieldByName("Name")->AsString(), "Name1a");
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, "bc");
  QTest::keyClick(memo, Qt::Key_Escape);
  EXPECT_EQ(memo->Text(), "Text1");
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, "d");
  QTest::keyClick(memo, Qt::Key_Return);
  QTest::keyClicks(memo, "e");
  dataset->Post();
  EXPECT_EQ(Stored(1, "Text"), "Text1d\ne");
  EXPECT_EQ(Stored(1, "Name"), "Name1a");
}

TEST_F(DBControlsTest, ReadOnlyDataSetRefusesTyping) {
  dataset->SetReadOnly(true);
  Open(1);
  TDBEdit* name = NewEdit("Name");
  ShowForm();
  name->setFocus();
  QTest::keyClicks(name, "z");
  EXPECT_EQ(name->Text(), "Name1");
  EXPECT_EQ(dataset->State(), dsBrowse);
  EXPECT_TRUE(caught.errors.empty());
}

TEST_F(DBControlsTest, EditMaskFillsPositionsAndKeepsLiterals) {
  Open(1);
  dataset->FieldByName("Plz")->SetEditMask("000-00;1;_");
  TDBEdit* plz = NewEdit("Plz");
  TDBEdit* name = NewEdit("Name");
  ShowForm();
  plz->setFocus();
  plz->setCursorPosition(0);
  EXPECT_EQ(plz->Text(), "___-__");
  QTest::keyClicks(plz, "12x3");  // x is refused, the literal is skipped
  EXPECT_EQ(plz->Text(), "123-__");
  EXPECT_EQ(plz->cursorPosition(), 4);
  QTest::keyClick(plz, Qt::Key_Backspace);  // over the literal onto the 3
  EXPECT_EQ(plz->Text(), "12_-__");
  QTest::keyClicks(plz, "3");
  name->setFocus();  // incomplete: refused when the focus leaves
  ASSERT_EQ(caught.errors, std::vector<std::string>{std::string(kSMaskEditError)});
  EXPECT_EQ(dataset->FieldByName("Plz")->AsString(), "");
  plz->setFocus();
  plz->setCursorPosition(4);
  QTest::keyClicks(plz, "45");
  EXPECT_EQ(plz->Text(), "123-45");
  name->setFocus();
  dataset->Post();
  EXPECT_EQ(Stored(1, "Plz"), "123-45");
  EXPECT_EQ(caught.errors.size(), 1u);
}

TEST_F(DBControlsTest, TextFollowsTheRecord) {
  Open(2);
  auto* text = new TDBText(form);
  text->SetDataSource(source);
  text->SetDataField("Name");
  EXPECT_EQ(text->Text(), "Name1");
  dataset->Last();
  EXPECT_EQ(text->Text(), "Name2");
  dataset->Close();
  EXPECT_EQ(text->Text(), "");
}

TEST_F(DBControlsTest, DropDownListPicksOnlyItems) {
  Open(2);
  auto* combo = new TDBComboBox(form);
  combo->SetStyle(csDropDownList);
  combo->SetItems({"Name1", "Zone A", "Zone B"});
  combo->SetDataSource(source);
  combo->SetDataField("Name");
  combo->show();
  TDBEdit* other = NewEdit("Plz");
  ShowForm();
  EXPECT_EQ(combo->currentIndex(), 0);
  dataset->Next();
  EXPECT_EQ(combo->currentIndex(), -1) << "Name2 is not in the list";
  dataset->First();
  source->SetAutoEdit(false);
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->Text(), "Name1") << "refused without editing";
  source->SetAutoEdit(true);
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->Text(), "Zone A");
  EXPECT_EQ(dataset->State(), dsEdit);
  other->setFocus();
  EXPECT_EQ(dataset->FieldByName("Name")->AsString(), "Zone A");
  dataset->Cancel();
  EXPECT_EQ(combo->Text(), "Name1");
}

// What a derived combo box (a history) sees of its hooks.
class HookedComboBox : public TDBComboBox {
 public:
  using TDBComboBox::TDBComboBox;
  std::vector<std::string> log;

 protected:
  void Loaded() override {
    TDBComboBox::Loaded();
    log.push_back("loaded");
  }
  void DoExit() override { log.push_back("exit " + Field()->AsString()); }
};

TEST_F(DBControlsTest, DerivedComboBoxHearsLoadedAndExitAfterTheWrite) {
  form->BeginLoading();
  auto* combo = new HookedComboBox(form);
  combo->SetDataSource(source);
  combo->SetDataField("Name");
  EXPECT_TRUE(combo->log.empty());
  form->EndLoading();
  EXPECT_EQ(combo->log, std::vector<std::string>{"loaded"});
  Open(1);
  combo->show();
  TDBEdit* other = NewEdit("Plz");
  ShowForm();
  combo->setFocus();
  combo->lineEdit()->end(false);
  QTest::keyClicks(combo->lineEdit(), "Zone");
  other->setFocus();
  EXPECT_EQ(combo->log, (std::vector<std::string>{"loaded", "exit Name1Zone"}));
}

}  // namespace
}  // namespace vesk
