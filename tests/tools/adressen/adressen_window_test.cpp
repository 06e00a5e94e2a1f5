#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "platform/registered_messages.h"
#include "runtime/file_io.h"
#include "tests/tools/adressen/adressen_fixture.h"
#include "toolkit/button.h"
#include "toolkit/data/field.h"
#include "toolkit/db_edit.h"
#include "toolkit/db_memo.h"
#include "toolkit/label.h"
#include "toolkit/status_bar.h"
#include "toolkit/tab_control.h"
#include "tools/categories/category_pages.h"
#include "tools/categories/dlgnseite.h"
#include "tools/controls/HistCB.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/table_description.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

constexpr int kTabQ = 17;

class AdressenWindow : public AdressenTest {
 protected:
  std::string Filter() const { return window_->MTbAdressen->Filter(); }
  int TabWidth() const { return window_->TCAdressen->TabWidth(); }
  std::vector<std::string> CategoryTabs() const {
    const std::vector<std::string> tabs = window_->TCAdressen->Tabs();
    return {tabs.begin() + kFirstCategoryTab, tabs.end()};
  }
  // Answers the new page dialog, once it is shown, with the title and
  // OK; counts the dialogs answered.
  void AnswerDialogs(const char* title) {
    dialogTimer_.setInterval(10);
    QObject::connect(&dialogTimer_, &QTimer::timeout, [this, title] {
      if (DlgNeueseite.isNull() || !DlgNeueseite->isVisible()) return;
      ++dialogs_;
      DlgNeueseite->EdSeitentext->setText(title);
      QTest::mouseClick(DlgNeueseite->BtnOK, Qt::LeftButton);
    });
    dialogTimer_.start();
  }
  QTimer dialogTimer_;
  int dialogs_ = 0;
};

TEST_F(AdressenWindow, FirstStartMakesTheTableInNameOrder) {
  ASSERT_FALSE(std::filesystem::exists(kAdressenTable));
  OpenWindow();
  EXPECT_TRUE(std::filesystem::exists(kAdressenTable));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_TRUE(errors_.empty());
  TRadiRidir& table = *window_->MTbAdressen;
  ASSERT_TRUE(table.Active());
  EXPECT_FALSE(table.ReadOnly());
  EXPECT_TRUE(table.Filtered());
  EXPECT_EQ(table.IndexName(), kNameIndex);
  // Without a category list: "Alle" and the letters at the design width.
  EXPECT_EQ(window_->TCAdressen->TabCount(), kFirstCategoryTab);
  EXPECT_EQ(window_->TCAdressen->Tab(0), "Alle");
  EXPECT_EQ(window_->TCAdressen->Tab(26), "&Z");
  EXPECT_EQ(TabWidth(), 32);

  // Alphabetical by name and then first name, whatever the case.
  Add("meier");
  Add("Adam");
  Add("Zorn");
  Add("Meier");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adam", "meier", "Meier", "Zorn"}));

  // The next window opens the table as it stands.
  CloseWindow();
  OpenWindow();
  EXPECT_EQ(Names().size(), 4u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(AdressenWindow, LetterTabsFilterTheNameInBothCases) {
  OpenWindow();
  for (const char* name : {"Quast", "quade", "Adam", "1822 direkt", "Ärger", "Zebra", "Paqu"}) Add(name);

  SelectTab(kTabQ);
  EXPECT_EQ(window_->TCAdressen->Tab(kTabQ), "&Q");
  EXPECT_EQ(Filter(), "Name = 'Q*'OR Name = 'q*'");
  EXPECT_EQ(Names(), (std::vector<std::string>{"quade", "Quast"}));
  SelectTab(1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adam"}));

  // A digit or an umlaut at the start: only under "Alle".
  SelectTab(0);
  EXPECT_EQ(Filter(), "");
  EXPECT_EQ(Names().size(), 7u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(AdressenWindow, CategoryListGivesPagesAndTheirWidth) {
  // Each line end a program may write; the empty line is a page too.
  WriteProgramFile("adressen.txt", "Privat\r\nFirma\nVerein\r\rKlub");
  OpenWindow();
  EXPECT_EQ(CategoryTabs(), (std::vector<std::string>{"Privat", "Firma", "Verein", "", "Klub"}));
  EXPECT_EQ(TabWidth(), 48);
  Add("Schmidt", "Firma");
  Add("Ohne");
  Add("Vereinsmeier", "Verein");
  Add("Klubwirt", "Klub");

  SelectTab(28);
  EXPECT_EQ(Filter(), "Kategorie = 'Firma'");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Schmidt"}));
  // An address without category holds no text there, not an empty one:
  // the page without a title finds nothing, and fails with nothing.
  SelectTab(30);
  EXPECT_EQ(Filter(), "Kategorie = ''");
  EXPECT_TRUE(Names().empty());
  SelectTab(31);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Klubwirt"}));
  EXPECT_TRUE(errors_.empty());

  // Short titles make the tabs narrower than designed.
  CloseWindow();
  WriteProgramFile("adressen.txt", "Abc\r\nXy\r\n");
  OpenWindow();
  EXPECT_EQ(CategoryTabs(), (std::vector<std::string>{"Abc", "Xy"}));
  EXPECT_EQ(TabWidth(), 24);
}

TEST_F(AdressenWindow, QuoteInATitleFindsItsRecords) {
  WriteProgramFile("adressen.txt", "O'Brien\r\n");
  OpenWindow();
  Add("Sean", "O'Brien");
  Add("Mary");
  SelectTab(kFirstCategoryTab);
  EXPECT_EQ(Filter(), "Kategorie = 'O''Brien'");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Sean"}));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(AdressenWindow, NewRecordTakesTheCategoryOfItsPage) {
  WriteProgramFile("adressen.txt", "Privat\r\n");
  OpenWindow();
  SelectTab(kFirstCategoryTab);
  Click(nbInsert);
  // The insert button hands the focus to the name.
  EXPECT_EQ(QApplication::focusWidget(), window_->EdName);
  QTest::keyClicks(window_->EdName, "Groß");
  Click(nbPost);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Groß"}));
  EXPECT_EQ(window_->MTbAdressen->FieldByName("Kategorie")->AsString(), "Privat");

  for (int tab : {0, kTabQ}) {
    SelectTab(tab);
    Click(nbInsert);
    QTest::keyClicks(window_->EdName, "Quelle");
    Click(nbPost);
    EXPECT_EQ(window_->MTbAdressen->FieldByName("Name")->AsString(), "Quelle");
    EXPECT_EQ(window_->MTbAdressen->FieldByName("Kategorie")->AsString(), "") << "tab " << tab;
  }
  SelectTab(0);
  EXPECT_EQ(Names().size(), 3u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(AdressenWindow, ActivationSetsTheFilterOfTheSelectedTabAgain) {
  OpenWindow();
  Add("Quast");
  Add("Adam");
  // Selected by code (as a page just added is): the filter waits.
  window_->TCAdressen->SetTabIndex(kTabQ);
  EXPECT_EQ(Filter(), "");
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  EXPECT_EQ(Filter(), "Name = 'Q*'OR Name = 'q*'");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Quast"}));
}

TEST_F(AdressenWindow, CtrlCAloneTogglesTheCategoryField) {
  OpenWindow();
  EXPECT_FALSE(window_->DBEdKat->isVisible());
  QTest::keyClick(window_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(window_->DBEdKat->isVisible());
  QTest::keyClick(window_, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(window_->DBEdKat->isVisible());
  // The window sees the key before the field that has the focus.
  window_->EdName->setFocus();
  QTest::keyClick(window_->EdName, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(window_->DBEdKat->isVisible());
  EXPECT_TRUE(window_->lbKat->isVisible());
  QTest::keyClick(window_->EdName, Qt::Key_C, Qt::ControlModifier);
  EXPECT_FALSE(window_->DBEdKat->isVisible());
  EXPECT_FALSE(window_->lbKat->isVisible());
}

TEST_F(AdressenWindow, RightClickAddsAPageThatNewAddressesJoin) {
  WriteProgramFile("adressen.txt", "Privat\r\n");
  OpenWindow();
  Add("Quast");
  Add("Adam");
  AnswerDialogs("Kundenliste");
  QTabBar* bar = window_->TCAdressen->TabBar();
  // A left click only selects.
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(kTabQ).center());
  ProcessEvents();
  EXPECT_EQ(dialogs_, 0);
  EXPECT_EQ(Filter(), "Name = 'Q*'OR Name = 'q*'");

  // Nor does a right click on a field, which has its own menu, or a press
  // of the middle button.
  QTest::mousePress(window_->MmText->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  QTest::mouseRelease(window_->MmText->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  QTest::mousePress(window_->TCAdressen, Qt::MiddleButton, {}, QPoint(5, window_->TCAdressen->height() - 5));
  ProcessEvents();
  EXPECT_EQ(dialogs_, 0);

  // A right click on free space of the tab control asks for a title.
  QTest::mousePress(window_->TCAdressen, Qt::RightButton, {}, QPoint(5, window_->TCAdressen->height() - 5));
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(CategoryTabs(), (std::vector<std::string>{"Privat", "Kundenliste"}));
  EXPECT_EQ(window_->TCAdressen->TabIndex(), 28);
  EXPECT_EQ(TabWidth(), 88);
  // Selected without its filter; an address made now joins the new page.
  EXPECT_EQ(Filter(), "Name = 'Q*'OR Name = 'q*'");
  Click(nbInsert);
  QTest::keyClicks(window_->EdName, "Kunz");
  Click(nbPost);
  EXPECT_EQ(window_->MTbAdressen->FieldByName("Kategorie")->AsString(), "Kundenliste");
  SelectTab(27);
  SelectTab(28);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Kunz"}));

  // Closing keeps it.
  dialogTimer_.stop();
  CloseWindow();
  EXPECT_EQ(ReadFile(File("adressen.txt")), std::optional<std::string>("Privat\r\nKundenliste\r\n"));
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(AdressenWindow, ClosingWritesTheListAndTellsTheHost) {
  OpenWindow();
  QPointer<TFRAdressen> closed = window_;
  CloseWindow();
  EXPECT_TRUE(closed.isNull());
  EXPECT_EQ(ReadFile(File("adressen.txt")), std::optional<std::string>(""));
  ASSERT_EQ(hostMessages_.size(), 1u);
  EXPECT_EQ(hostMessages_[0], std::make_pair(VeskTools(), uintptr_t{0}));

  // Pages read with any line end go back with CR LF, an empty one too.
  WriteProgramFile("adressen.txt", "Privat\n\nFirma");
  OpenWindow();
  CloseWindow();
  EXPECT_EQ(ReadFile(File("adressen.txt")), std::optional<std::string>("Privat\r\n\r\nFirma\r\n"));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(AdressenWindow, ListThatCannotBeWrittenKeepsTheWindowOpen) {
  OpenWindow();
  Add("Adam");
  std::filesystem::create_directory(File("adressen.txt"));
  window_->Close();
  ProcessEvents();
  ASSERT_FALSE(window_.isNull());
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_TRUE(hostMessages_.empty());
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adam"}));

  std::filesystem::remove(File("adressen.txt"));
  CloseWindow();
  EXPECT_TRUE(window_.isNull());
  EXPECT_EQ(hostMessages_.size(), 1u);
}

TEST_F(AdressenWindow, ClosingKeepsTheAddressBeingEntered) {
  OpenWindow();
  Click(nbInsert);
  QTest::keyClicks(window_->EdName, "Neumann");
  window_->Close();
  ProcessEvents();
  ASSERT_TRUE(window_.isNull());
  OpenWindow();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Neumann"}));

  // One opened but left untouched is no address.
  Click(nbInsert);
  CloseWindow();
  OpenWindow();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Neumann"}));
}

TEST_F(AdressenWindow, TariffZonesShowOnlyWithTheirSettings) {
  OpenWindow();
  EXPECT_FALSE(window_->DBHCTarifzone1->isVisible());
  EXPECT_FALSE(window_->lbTarifzone2->isVisible());
  CloseWindow();

  WriteProgramFile("ttarife.ini", "[Tarifzone]\r\n0=Nah\r\n1=Fern\r\n");
  OpenWindow();
  for (TDBHistComboBox* box : {window_->DBHCTarifzone1, window_->DBHCTarifzone2}) {
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->Items(), (std::vector<std::string>{"", "Nah", "Fern"}));
    EXPECT_EQ(box->MaxItem(), 5);
    EXPECT_EQ(box->Style(), csDropDownList);
  }
  EXPECT_TRUE(window_->lbTarifzone1->isVisible());
  EXPECT_TRUE(window_->lbTarifzone2->isVisible());
}

TEST_F(AdressenWindow, TableWrittenElsewhereOpensForReading) {
  // A first window makes the table with one address.
  OpenWindow();
  Add("Adam");
  CloseWindow();
  // Another program writes the table.
  TRadiRidir writer;
  writer.SetTableName(kAdressenTable);
  writer.Open();

  OpenWindow();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("Die Adressen können gerade nicht geändert werden"), std::string::npos);
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(window_->MTbAdressen->ReadOnly());
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adam"}));
  EXPECT_FALSE(window_->DBNvAdressen->Button(nbInsert)->isEnabled());
  CloseWindow();
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(AdressenWindow, TableThatCannotOpenLeavesThePagesUsable) {
  WriteProgramFile("adressen.txt", "Privat\r\n");
  std::filesystem::create_directory("Data");
  std::ofstream(kAdressenTable) << "kein Tabellenkopf";
  OpenWindow();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_FALSE(window_->MTbAdressen->Active());
  EXPECT_EQ(CategoryTabs(), (std::vector<std::string>{"Privat"}));
  SelectTab(kFirstCategoryTab);
  CloseWindow();
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_EQ(ReadFile(File("adressen.txt")), std::optional<std::string>("Privat\r\n"));
  // The file is not touched.
  EXPECT_EQ(ReadFile(kAdressenTable), std::optional<std::string>("kein Tabellenkopf"));
}

TEST_F(AdressenWindow, ComponentsCarryTheirNames) {
  OpenWindow();
  ExpectNamedWidgets(*window_, {"EdName",       "EdVorname",      "EdPLZ",      "EdStadt",      "EdStrasse",
                                "EdTelefon",    "EdTelefon2",     "EdFax",      "EdEmail",      "EdURL",
                                "MmText",       "lbKat",          "DBEdKat",    "lbTarifzone1", "DBHCTarifzone1",
                                "lbTarifzone2", "DBHCTarifzone2", "TCAdressen", "DBNvAdressen", "SBAdressen"});
  EXPECT_EQ(window_->EdTelefon->Tag(), 1);
  EXPECT_EQ(window_->EdTelefon2->Tag(), 2);
  EXPECT_EQ(window_->EdURL->toolTip(), "Doppelklick startet Browser");
  // Tab goes down the fields in the order they stand.
  window_->EdName->setFocus();
  std::vector<std::string> order;
  for (int i = 0; i < 10; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.push_back(QApplication::focusWidget()->objectName().toStdString());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"EdVorname", "EdPLZ", "EdStadt", "EdStrasse", "EdTelefon", "EdTelefon2",
                                             "EdFax", "EdEmail", "EdURL", "MmText"}));
}

}  // namespace
}  // namespace vesk
