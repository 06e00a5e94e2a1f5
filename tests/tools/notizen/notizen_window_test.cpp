#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "runtime/file_io.h"
#include "tests/tools/notizen/notizen_fixture.h"
#include "toolkit/button.h"
#include "toolkit/data/string_field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_memo.h"
#include "toolkit/db_navigator.h"
#include "toolkit/db_text.h"
#include "toolkit/label.h"
#include "toolkit/screenshot.h"
#include "toolkit/tab_control.h"
#include "tools/categories/category_pages.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

constexpr char kNoTitle[] = "Ohne Beschreibung kann keine neue Seite eingefügt werden";

void Type(TDlgNeueseite& dialog, const char* text) {
  QTest::mouseClick(dialog.EdSeitentext, Qt::LeftButton);
  QTest::keyClicks(dialog.EdSeitentext, QString::fromUtf8(text));
}

class NotizenWindow : public NotizenTest {};

TEST_F(NotizenWindow, NotesRunInKeywordOrderAndLetterTabsFilterBothCases) {
  OpenWindow();
  EXPECT_TRUE(std::filesystem::exists(kNotizenTable));
  EXPECT_EQ(window_->MTbNotizen->IndexName(), kNotizenIndex);
  for (const char* keyword : {"suppe", "Apfel", "Sport", "banane", "Zebra", "1. Mai", "Ärger"}) AddNote(keyword);
  EXPECT_EQ(Keywords(), (std::vector<std::string>{"1. Mai", "Apfel", "Ärger", "banane", "Sport", "suppe", "Zebra"}));

  SelectTab(19);
  ASSERT_EQ(window_->TCNotizen->Tab(19), "&S");
  EXPECT_EQ(window_->MTbNotizen->Filter(), "Stichwort = 'S*'OR Stichwort = 's*'");
  EXPECT_EQ(Keywords(), (std::vector<std::string>{"Sport", "suppe"}));
  SelectTab(2);
  EXPECT_EQ(Keywords(), std::vector<std::string>{"banane"});
  SelectTab(0);
  EXPECT_EQ(window_->MTbNotizen->Filter(), "");
  EXPECT_EQ(Keywords().size(), 7u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NotizenWindow, NewNoteTakesTheClockAndKeepsItAfterwards) {
  SetNow(2026, 3, 3, 14, 5);
  OpenWindow();
  AddNote("Einkauf");
  EXPECT_EQ(window_->TxDatum->Text(), "03.03.2026");
  EXPECT_EQ(window_->TxZeit->Text(), "14:05");
  EXPECT_TRUE(window_->TxDatum->palette().color(QPalette::WindowText) == QColor(0, 0, 128));

  // Edited a day later, the note keeps when it was made.
  SetNow(2026, 3, 4, 9, 30);
  QTest::mouseClick(window_->DBNvNotizen->Button(nbEdit), Qt::LeftButton);
  QTest::mouseClick(window_->EdStichwort, Qt::LeftButton);
  QTest::keyClick(window_->EdStichwort, Qt::Key_End);
  QTest::keyClicks(window_->EdStichwort, "en");
  QTest::mouseClick(window_->DBNvNotizen->Button(nbPost), Qt::LeftButton);
  EXPECT_EQ(Keywords(), std::vector<std::string>{"Einkaufen"});
  EXPECT_EQ(window_->TxDatum->Text(), "03.03.2026");
  EXPECT_EQ(window_->TxZeit->Text(), "14:05");
}

TEST_F(NotizenWindow, CategoryPagesGiveNewNotesTheirCategoryCutToFifteen) {
  ASSERT_TRUE(WriteFileAtomically(ListPath(), "Privat\r\nUrlaubsplanung 2027\r\n"));
  OpenWindow();
  ASSERT_EQ(window_->TCNotizen->TabCount(), kFirstCategoryTab + 2);
  EXPECT_EQ(window_->TCNotizen->TabWidth(), 19 * kTabWidthPerChar);
  AddNote("Ohne");

  SelectTab(kFirstCategoryTab);
  EXPECT_EQ(Keywords(), std::vector<std::string>{});
  AddNote("Kino");
  EXPECT_EQ(window_->MTbNotizenKategorie->AsString(), "Privat");
  EXPECT_EQ(Keywords(), std::vector<std::string>{"Kino"});

  // The long title is cut in the record, so the note falls out of its page.
  SelectTab(kFirstCategoryTab + 1);
  AddNote("Flug");
  SelectTab(kFirstCategoryTab);
  SelectTab(kFirstCategoryTab + 1);
  EXPECT_EQ(Keywords(), std::vector<std::string>{});
  SelectTab(6);  // "&F"
  EXPECT_EQ(Keywords(), std::vector<std::string>{"Flug"});
  EXPECT_EQ(window_->MTbNotizenKategorie->AsString(), "Urlaubsplanung ");
  SelectTab(0);
  EXPECT_EQ(Keywords(), (std::vector<std::string>{"Flug", "Kino", "Ohne"}));
  window_->MTbNotizen->First();
  EXPECT_EQ(window_->MTbNotizenKategorie->AsString(), "Urlaubsplanung ");
  window_->MTbNotizen->Last();
  EXPECT_EQ(window_->MTbNotizenKategorie->AsString(), "");
}

TEST_F(NotizenWindow, RightClickAsksForATitleAndLeftClickNever) {
  OpenWindow();
  QTabBar* bar = window_->TCNotizen->TabBar();
  const int tabs = window_->TCNotizen->TabCount();

  // A left click on a tab or on free space only switches tabs.
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  QTest::mouseClick(window_->TCNotizen, Qt::LeftButton, {}, QPoint(3, window_->TCNotizen->height() - 3));
  EXPECT_EQ(window_->TCNotizen->TabIndex(), 1);
  EXPECT_TRUE(DlgNeueseite.isNull());

  // OK without a title says so once; Cancel with a title adds nothing.
  AddPage([](TDlgNeueseite& dialog) {
    // The focus comes with the dialog's activation, which may follow its
    // showing by a moment.
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.BtnOK->hasFocus(); }, 2000));
    EXPECT_EQ(dialog.Caption(), "Text");
    QTest::keyClick(dialog.BtnOK, Qt::Key_Return);
  });
  EXPECT_EQ(boxes_, std::vector<std::string>{kNoTitle});
  AddPage([](TDlgNeueseite& dialog) {
    Type(dialog, "Privat");
    QTest::mouseClick(dialog.BtnCancel, Qt::LeftButton);
  });
  EXPECT_EQ(window_->TCNotizen->TabCount(), tabs);
  EXPECT_EQ(window_->TCNotizen->TabIndex(), 1);

  // A right click on a tab asks too; blanks are a title as typed.
  AddPage(
      [](TDlgNeueseite& dialog) {
        Type(dialog, "   ");
        QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
      },
      2);
  ASSERT_EQ(window_->TCNotizen->TabCount(), tabs + 1);
  EXPECT_EQ(window_->TCNotizen->Tab(tabs), "   ");
  EXPECT_EQ(window_->TCNotizen->TabIndex(), tabs);
  EXPECT_EQ(boxes_.size(), 1u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NotizenWindow, TitleWithAQuoteAndALongTitleWidenTheTabs) {
  ASSERT_TRUE(WriteFileAtomically(ListPath(), "Privat\r\n"));
  OpenWindow();
  AddPage([](TDlgNeueseite& dialog) {
    Type(dialog, "Kundenliste");
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
  });
  EXPECT_EQ(window_->TCNotizen->TabWidth(), 88);
  AddPage([](TDlgNeueseite& dialog) {
    Type(dialog, "O'Brien");
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
  });
  EXPECT_EQ(window_->TCNotizen->TabWidth(), 88);
  // The new page is selected; a note made now belongs to it, and the page
  // finds it once its filter is in force.
  AddNote("Anruf");
  EXPECT_EQ(window_->MTbNotizenKategorie->AsString(), "O'Brien");
  SelectTab(kFirstCategoryTab);
  SelectTab(kFirstCategoryTab + 2);
  EXPECT_EQ(window_->MTbNotizen->Filter(), "Kategorie = 'O''Brien'");
  EXPECT_EQ(Keywords(), std::vector<std::string>{"Anruf"});
  EXPECT_TRUE(errors_.empty());

  CloseWindow();
  EXPECT_EQ(ListText(), "Privat\r\nKundenliste\r\nO'Brien\r\n");
}

TEST_F(NotizenWindow, ListOfTheWindowsEraKeepsItsNotesAndIsSavedAsUtf8) {
  ASSERT_TRUE(WriteFileAtomically(ListPath(), "Bücher\r\n"));
  OpenWindow();
  SelectTab(kFirstCategoryTab);
  AddNote("Krimi");
  ASSERT_EQ(window_->MTbNotizenKategorie->AsString(), "Bücher");
  CloseWindow();

  // The same list as a program of the Windows era wrote it.
  ASSERT_TRUE(WriteFileAtomically(ListPath(),
                                  "B\xfc"
                                  "cher\r\n"));
  OpenWindow();
  SelectTab(kFirstCategoryTab);
  EXPECT_EQ(window_->TCNotizen->Tab(kFirstCategoryTab), "Bücher");
  EXPECT_EQ(window_->MTbNotizen->Filter(), "Kategorie = 'Bücher'");
  EXPECT_EQ(Keywords(), std::vector<std::string>{"Krimi"});
  CloseWindow();
  EXPECT_EQ(ListText(), "Bücher\r\n");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NotizenWindow, PastedTitleWithLineBreaksStaysOnePageAfterARestart) {
  OpenWindow();
  QGuiApplication::clipboard()->setText("Neue\r\nSeite\nvon hier");
  AddPage([](TDlgNeueseite& dialog) {
    QTest::mouseClick(dialog.EdSeitentext, Qt::LeftButton);
    QTest::keyClick(dialog.EdSeitentext, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog.Text(), "Neue\r\nSeite\nvon hier");
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
  });
  EXPECT_EQ(window_->TCNotizen->Tab(kFirstCategoryTab), "Neue Seite von hier");
  CloseWindow();
  EXPECT_EQ(ListText(), "Neue Seite von hier\r\n");

  OpenWindow();
  ASSERT_EQ(window_->TCNotizen->TabCount(), kFirstCategoryTab + 1);
  EXPECT_EQ(window_->TCNotizen->Tab(kFirstCategoryTab), "Neue Seite von hier");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NotizenWindow, CtrlCReachesTheWindowOnlyWhileNoControlHasTheFocus) {
  OpenWindow();
  EXPECT_FALSE(window_->KeyPreview());
  EXPECT_TRUE(window_->DBEdKat->isHidden());
  PressCtrlC(Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(window_->DBEdKat->isHidden());
  PressCtrlC();
  EXPECT_FALSE(window_->DBEdKat->isHidden());
  EXPECT_FALSE(window_->lbKat->isHidden());
  PressCtrlC();
  EXPECT_TRUE(window_->DBEdKat->isHidden());
  EXPECT_TRUE(window_->lbKat->isHidden());

  QTest::mouseClick(window_->EdStichwort, Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), window_->EdStichwort);
  PressCtrlC();
  EXPECT_TRUE(window_->DBEdKat->isHidden());
}

TEST_F(NotizenWindow, EveryComponentCarriesItsName) {
  OpenWindow();
  for (const char* name :
       {"DBNvNotizen", "TCNotizen", "TxDatum", "TxZeit", "lbKat", "DBEdKat", "EdStichwort", "MmText"}) {
    EXPECT_NE(window_->findChild<QWidget*>(name), nullptr) << name;
  }
  // Tab runs keyword, text, category.
  window_->DBEdKat->show();
  QTest::mouseClick(window_->EdStichwort, Qt::LeftButton);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window_->MmText);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window_->DBEdKat);
}

TEST_F(NotizenWindow, ClosingWritesTheListFreesTheWindowAndTellsTheHost) {
  OpenWindow();
  AddNote("Bleibt");
  CloseWindow();
  EXPECT_TRUE(window_.isNull());
  EXPECT_EQ(ListText(), "");
  EXPECT_EQ(hostMessages_, (std::vector<std::pair<uint16_t, uintptr_t>>{{VeskTools(), 0}}));

  // The next window opens the same notes.
  OpenWindow();
  EXPECT_EQ(Keywords(), std::vector<std::string>{"Bleibt"});
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NotizenWindow, ListThatCannotBeWrittenKeepsTheWindowOpen) {
  OpenWindow();
  AddNote("Bleibt");
  std::filesystem::create_directory(ListPath());
  CloseWindow();
  ASSERT_EQ(errors_.size(), 1u);
  ASSERT_FALSE(window_.isNull());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->MTbNotizen->Active());
  EXPECT_TRUE(hostMessages_.empty());

  std::filesystem::remove(ListPath());
  CloseWindow();
  EXPECT_TRUE(window_.isNull());
  EXPECT_EQ(ListText(), "");
  EXPECT_EQ(hostMessages_.size(), 1u);
}

TEST_F(NotizenWindow, Screenshot) {
  ASSERT_TRUE(WriteFileAtomically(ListPath(), "Privat\r\nFirma\r\n"));
  SetNow(2026, 3, 3, 14, 5);
  OpenWindow();
  AddNote("Einkauf");
  const std::string folder = VESK_SCREENSHOT_FOLDER;
  EXPECT_TRUE(SaveScreenshot(*window_, folder + "/notizen.png"));
  AddPage([&folder](TDlgNeueseite& dialog) {
    EXPECT_TRUE(SaveScreenshot(dialog, folder + "/neueseite.png"));
    QTest::mouseClick(dialog.BtnCancel, Qt::LeftButton);
  });
}

}  // namespace
}  // namespace vesk
