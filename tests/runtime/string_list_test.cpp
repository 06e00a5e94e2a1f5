#include "runtime/string_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/file_io.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using Items = std::vector<std::string>;

TEST(StringList, EditingAndCaseInsensitiveSearch) {
  TStringList list;
  list.Add("Freunde");
  list.Add("Firma");
  list.Insert(0, "Verein");
  list.Insert(3, "Müller");
  EXPECT_EQ(list.Items(), (Items{"Verein", "Freunde", "Firma", "Müller"}));
  EXPECT_EQ(list.IndexOf("FIRMA"), 2);
  EXPECT_EQ(list.IndexOf("müller"), 3);
  EXPECT_EQ(list.IndexOf("MÜLLER"), -1) << "only ASCII letters fold";
  EXPECT_EQ(list.IndexOf("Firm"), -1);
  list.Delete(1);
  EXPECT_EQ(list.Items(), (Items{"Verein", "Firma", "Müller"}));
  EXPECT_EQ(list[2], "Müller");
  EXPECT_THROW(list[3], std::out_of_range);
  EXPECT_THROW(list[-1], std::out_of_range);
  EXPECT_THROW(list.Insert(4, "x"), std::out_of_range);
  EXPECT_THROW(list.Delete(3), std::out_of_range);
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, TextSplitsAtEveryLineBreak) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(list.Items(), (Items{"a", "b", "c", "d"}));
  list.SetText("a\n\nb\r\n");
  EXPECT_EQ(list.Items(), (Items{"a", "", "b"}));
  list.SetText("\r\n\n");
  EXPECT_EQ(list.Items(), (Items{"", ""}));
  list.SetText("\n\r");
  EXPECT_EQ(list.Items(), (Items{"", ""})) << "\\n\\r is two breaks";
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("eins\r\nzwei");
  EXPECT_EQ(list.Text(), "eins\nzwei\n");
}

TEST(StringList, SavesAndLoadsFiles) {
  TempFolder folder;
  const std::string path = folder.File("notizen.txt");
  TStringList saved;
  saved.SetText("Privat\nArbeit\n\nÄrger");
  ASSERT_TRUE(saved.SaveToFile(path));
  EXPECT_EQ(ReadFile(path), "Privat\nArbeit\n\nÄrger\n");
  TStringList loaded;
  loaded.Add("vorher");
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.Items(), saved.Items());

  ASSERT_TRUE(WriteFileAtomically(path, "Windows\r\nZeilen\r\n"));
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.Items(), (Items{"Windows", "Zeilen"}));

  EXPECT_FALSE(loaded.LoadFromFile(folder.File("fehlt.txt")));
  EXPECT_EQ(loaded.Count(), 0);
  EXPECT_FALSE(saved.SaveToFile(folder.File("fehlt/notizen.txt")));
}

}  // namespace
}  // namespace vesk
