#include "tools/categories/category_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/file_io.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "toolkit/tab_control.h"

namespace vesk {
namespace {

// The titles of the category pages among the tabs.
std::vector<std::string> CategoryTabsOf(const TTabControl& tabs) {
  const std::vector<std::string> all = tabs.Tabs();
  return {all.begin() + kFirstCategoryTab, all.end()};
}

// The notes window's design width, to see whether the rule left it alone.
constexpr int kDesignWidth = 24;

class CategoryPagesTest : public testing::Test {
 protected:
  CategoryPagesTest() : home_("VESK_HOME", folder_.Path()) {
    tabs_.SetTabWidth(kDesignWidth);
    tabs_.OnChange = [this](TTabControl&) { ++changes_; };
  }

  void WriteList(const std::string& bytes) { ASSERT_TRUE(WriteFileAtomically(folder_.File("notizen.txt"), bytes)); }
  std::optional<std::string> List() const { return ReadFile(folder_.File("notizen.txt")); }
  std::vector<std::string> CategoryTabs() const { return CategoryTabsOf(tabs_); }

  TempFolder folder_;
  ScopedEnv home_;
  TTabControl tabs_;
  TCategoryPages pages_{tabs_, "notizen.txt", "Stichwort", "Kategorie"};
  int changes_ = 0;
};

TEST_F(CategoryPagesTest, WithoutListOnlyTheFixedTabsAndTheDesignWidth) {
  pages_.Load();
  ASSERT_EQ(tabs_.TabCount(), kFirstCategoryTab);
  EXPECT_EQ(tabs_.Tab(0), "Alle");
  EXPECT_EQ(tabs_.Tab(1), "&A");
  EXPECT_EQ(tabs_.Tab(26), "&Z");
  EXPECT_EQ(tabs_.TabWidth(), kDesignWidth);
  EXPECT_EQ(pages_.LongestTitle(), 0);
}

TEST_F(CategoryPagesTest, EveryLineIsAPageWhateverItsEnd) {
  // CR LF, LF and CR mixed; an empty line is a page; the last line has no end.
  WriteList("Privat\r\nFirma\n\rVerein\r\n\r\nSport");
  pages_.Load();
  EXPECT_EQ(CategoryTabs(), (std::vector<std::string>{"Privat", "Firma", "", "Verein", "", "Sport"}));
  EXPECT_EQ(tabs_.TabWidth(), 48);
  EXPECT_EQ(pages_.LongestTitle(), 6);
}

TEST_F(CategoryPagesTest, WidthFollowsTheLongestTitleInCharacters) {
  // Three characters make the tabs narrower than designed; "Bücher" counts
  // six characters, not its seven bytes.
  WriteList("Abc\r\nBücher\r\nXy\r\n");
  pages_.Load();
  EXPECT_EQ(tabs_.TabWidth(), 48);

  TTabControl shortTabs;
  shortTabs.SetTabWidth(kDesignWidth + 8);
  WriteList("Abc\r\n");
  TCategoryPages shortPages(shortTabs, "notizen.txt", "Stichwort", "Kategorie");
  shortPages.Load();
  EXPECT_EQ(shortTabs.TabWidth(), 24);
}

TEST_F(CategoryPagesTest, AppendWidensSelectsQuietlyAndNeverNarrows) {
  WriteList("Privat\r\n");
  pages_.Load();
  tabs_.SetTabIndex(3);
  pages_.Append("Kundenliste");
  EXPECT_EQ(tabs_.TabWidth(), 88);
  EXPECT_EQ(tabs_.TabIndex(), kFirstCategoryTab + 1);
  pages_.Append("Neu");
  EXPECT_EQ(tabs_.TabWidth(), 88);
  EXPECT_EQ(tabs_.TabIndex(), kFirstCategoryTab + 2);
  // Blanks and a repeated title stand as typed.
  pages_.Append("  ");
  pages_.Append("Privat");
  EXPECT_EQ(CategoryTabs(), (std::vector<std::string>{"Privat", "Kundenliste", "Neu", "  ", "Privat"}));
  EXPECT_EQ(changes_, 0);
}

TEST_F(CategoryPagesTest, FilterAndNewCategoryFollowTheSelectedTab) {
  WriteList("Privat\r\n\r\nO'Brien\r\n");
  pages_.Load();
  tabs_.SetTabIndex(0);
  EXPECT_EQ(pages_.FilterText(), "");
  EXPECT_EQ(pages_.NewRecordCategory(), "");
  tabs_.SetTabIndex(19);  // "&S"
  EXPECT_EQ(pages_.FilterText(), "Stichwort = 'S*'OR Stichwort = 's*'");
  EXPECT_EQ(pages_.NewRecordCategory(), "");
  tabs_.SetTabIndex(1);
  EXPECT_EQ(pages_.FilterText(), "Stichwort = 'A*'OR Stichwort = 'a*'");
  tabs_.SetTabIndex(26);
  EXPECT_EQ(pages_.FilterText(), "Stichwort = 'Z*'OR Stichwort = 'z*'");
  tabs_.SetTabIndex(kFirstCategoryTab);
  EXPECT_EQ(pages_.FilterText(), "Kategorie = 'Privat'");
  EXPECT_EQ(pages_.NewRecordCategory(), "Privat");
  tabs_.SetTabIndex(kFirstCategoryTab + 1);
  EXPECT_EQ(pages_.FilterText(), "Kategorie = ''");
  EXPECT_EQ(pages_.NewRecordCategory(), "");
  tabs_.SetTabIndex(kFirstCategoryTab + 2);
  EXPECT_EQ(pages_.FilterText(), "Kategorie = 'O''Brien'");
  EXPECT_EQ(pages_.NewRecordCategory(), "O'Brien");
}

TEST_F(CategoryPagesTest, SaveWritesTheCategoryPagesWithCrLf) {
  WriteList("Privat\n\rFirma");
  pages_.Load();
  pages_.Append("Kundenliste");
  pages_.Save();
  EXPECT_EQ(List(), "Privat\r\n\r\nFirma\r\nKundenliste\r\n");
  // Nothing but the list is left in the folder.
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"notizen.txt"});
}

TEST_F(CategoryPagesTest, ListIsReadAsUtf8OrWholeAsWindows1252AndSavedAsUtf8) {
  struct Case {
    const char* bytes;
    std::vector<std::string> titles;
    const char* saved;
  };
  const Case cases[] = {
      // Windows-1252, with the euro sign where Latin-1 has a control.
      {"B\xfc"
       "cher\r\nGr\xfc\xdf"
       "e\r\n\x80-Kasse",
       {"Bücher", "Grüße", "€-Kasse"},
       "Bücher\r\nGrüße\r\n€-Kasse\r\n"},
      // UTF-8 stays byte for byte.
      {"Bücher\r\nÄrzte €\r\n", {"Bücher", "Ärzte €"}, "Bücher\r\nÄrzte €\r\n"},
      // A file is one set: one stray byte makes the whole of it Windows-1252.
      {"Bücher\r\nM\xfcll\r\n",
       {"B\xc3\x83\xc2\xbc"
        "cher",
        "Müll"},
       "B\xc3\x83\xc2\xbc"
       "cher\r\nMüll\r\n"},
  };
  for (const Case& c : cases) {
    WriteList(c.bytes);
    TTabControl tabs;
    TCategoryPages pages(tabs, "notizen.txt", "Stichwort", "Kategorie");
    pages.Load();
    EXPECT_EQ(CategoryTabsOf(tabs), c.titles) << c.bytes;
    tabs.SetTabIndex(kFirstCategoryTab);
    EXPECT_EQ(pages.FilterText(), "Kategorie = '" + c.titles[0] + "'") << c.bytes;
    EXPECT_EQ(pages.NewRecordCategory(), c.titles[0]) << c.bytes;
    pages.Save();
    EXPECT_EQ(List(), c.saved) << c.bytes;
  }
}

TEST_F(CategoryPagesTest, LineBreaksInATitleBecomeBlanksSoTheListKeepsOnePage) {
  const std::pair<const char*, const char*> cases[] = {
      {"Neue\r\nSeite", "Neue Seite"},
      {"a\nb\rc", "a b c"},
      {"a\n\rb", "a  b"},
      {"\r\n\r\n", "  "},
      {"Ende\n", "Ende "},
      {"Bücher\r", "Bücher "},
  };
  pages_.Load();
  for (const auto& [typed, title] : cases) pages_.Append(typed);
  pages_.Save();
  TTabControl again;
  TCategoryPages reread(again, "notizen.txt", "Stichwort", "Kategorie");
  reread.Load();
  std::vector<std::string> expected;
  for (const auto& [typed, title] : cases) expected.emplace_back(title);
  EXPECT_EQ(CategoryTabs(), expected);
  EXPECT_EQ(CategoryTabsOf(again), expected);
}

TEST_F(CategoryPagesTest, SaveWithoutPagesLeavesAnEmptyList) {
  pages_.Load();
  pages_.Save();
  EXPECT_EQ(List(), "");
  // An empty list read back gives no page at all.
  TTabControl again;
  TCategoryPages reread(again, "notizen.txt", "Stichwort", "Kategorie");
  reread.Load();
  EXPECT_EQ(again.TabCount(), kFirstCategoryTab);
}

TEST_F(CategoryPagesTest, SaveThatCannotWriteRaisesAndLeavesWhatWasThere) {
  pages_.Load();
  pages_.Append("Privat");
  std::filesystem::create_directory(folder_.File("notizen.txt"));
  EXPECT_THROW(pages_.Save(), Exception);
  EXPECT_TRUE(std::filesystem::is_directory(folder_.File("notizen.txt")));
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"notizen.txt"});
}

}  // namespace
}  // namespace vesk
