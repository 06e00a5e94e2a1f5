// Index order, search by index and by scan, partial and case-insensitive
// keys, and searches under record tests.
#include <sqlite3.h>

#include <cstring>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

class Search : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenSample();
  }
  // Searches one field for text; the found record's name, or "" when none.
  std::string Find(int32_t field, const std::string& text, int32_t index, bool no_case = false, int32_t partial = 0,
                   bool move = true) {
    Record key(h_);
    key.SetText(field, text);
    int32_t fields[] = {field};
    if (!rr_search(h_, fields, 1, key.Data(), index, partial, no_case, move)) {
      EXPECT_EQ(LastError(h_), "");
      return "";
    }
    return move ? CurrentName() : key.Text(kName);
  }
};

TEST_F(Search, IndexOrderSortsUmlautsByTheCollator) {
  for (const char* name : {"Zander", "Äpfel", "Müller", "Apfel", "Muller", "Mueller"}) Add(name);
  ASSERT_EQ(rr_index_number(h_, ShortText("name").data()), kByName);
  ASSERT_TRUE(rr_select_index(h_, kByName));
  EXPECT_EQ((std::vector<std::string>{"Apfel", "Äpfel", "Mueller", "Muller", "Müller", "Zander"}), Names());
  uint8_t name[256];
  rr_index_name(name, h_);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Name");
  // Stored records join the order at their place, as SQLite's index has them.
  Add("Ärger");
  EXPECT_EQ(rr_rec_no(h_), 3);
  ASSERT_TRUE(rr_select_index(h_, 0));
  EXPECT_EQ(Names().front(), "Zander");
  EXPECT_EQ(rr_index_number(h_, ShortText("").data()), 0);
  EXPECT_LT(rr_index_number(h_, ShortText("Nix").data()), 0);
  EXPECT_EQ(LastError(h_), "Index Nix not found");
  EXPECT_FALSE(rr_select_index(h_, 9));
}

TEST_F(Search, CaseInsensitiveIndexAndSearch) {
  for (const char* name : {"meier", "Adam", "MEIER", "Meiser"}) Add(name);
  ASSERT_TRUE(rr_select_index(h_, kByNameNoCase));
  std::vector<std::string> names = Names();
  EXPECT_EQ(names.front(), "Adam");
  EXPECT_EQ(names.back(), "Meiser");
  int32_t name_field[] = {kName};
  EXPECT_EQ(rr_search_index(h_, name_field, 1, 0), kByNameNoCase);
  EXPECT_EQ(rr_search_index(h_, name_field, 1, 1), kByName);
  EXPECT_EQ(Find(kName, "Meier", kByNameNoCase, true), "meier");
  EXPECT_EQ(Find(kName, "Meier", kByName), "");
  EXPECT_EQ(Find(kName, "MEIER", kByName), "MEIER");
  EXPECT_EQ(Find(kName, "mEiEr", -1, true), "meier");
}

TEST_F(Search, PartialKeyMatchesLeadingCharacters) {
  for (const char* name : {"Maier", "Müller", "Münster", "Mutz"}) Add(name);
  EXPECT_EQ(Find(kName, "Mü", kByName, false, 2), "Müller");
  // A length counted in bytes is longer than the key: the whole key counts.
  EXPECT_EQ(Find(kName, "Mün", kByName, false, 4), "Münster");
  EXPECT_EQ(Find(kName, "mü", kByNameNoCase, true, 2), "Müller");
  EXPECT_EQ(Find(kName, "Mü", -1, false, 2), "Müller");
  EXPECT_EQ(Find(kName, "Mx", kByName, false, 2), "");
  EXPECT_EQ(Find(kName, "Mü", kByName, false, 0), "");
}

TEST_F(Search, SeveralKeysAndScanWithoutIndex) {
  Add("Adam", "Berlin");
  Add("Adam", "Bonn");
  Add("Berta", "Bonn");
  Record key(h_);
  key.SetText(kOrt, "Bonn");
  key.SetText(kName, "Adam");
  int32_t fields[] = {kOrt, kName};
  int32_t index = rr_search_index(h_, fields, 2, 1);
  EXPECT_EQ(index, kByOrtName);
  ASSERT_TRUE(rr_search(h_, fields, 2, key.Data(), index, 0, 0, 0));
  EXPECT_EQ(key.Text(kOrt), "Bonn");  // copied in, cursor unmoved
  EXPECT_EQ(rr_rec_no(h_), 3);
  int32_t backwards[] = {kName, kOrt};
  EXPECT_LT(rr_search_index(h_, backwards, 2, 1), 0);
  Record other(h_);
  other.SetText(kName, "Berta");
  other.SetText(kOrt, "Bonn");
  ASSERT_TRUE(rr_search(h_, backwards, 2, other.Data(), -1, 0, 0, 1));
  EXPECT_EQ(CurrentName(), "Berta");
  EXPECT_EQ(rr_rec_no(h_), 3);
  EXPECT_EQ(Find(kVorname, "Nobody", -1), "");
  // A match found through one index becomes current in the order of another.
  ASSERT_TRUE(rr_select_index(h_, kByName));
  Record count(h_);
  int32_t anzahl[] = {kAnzahl};
  Add("Anton", "Aachen", 5);
  ASSERT_TRUE(rr_first(h_));
  count.SetInt(kAnzahl, 5);
  ASSERT_TRUE(rr_search(h_, anzahl, 1, count.Data(), kByAnzahl, 0, 0, 1));
  EXPECT_EQ(CurrentName(), "Anton");
  EXPECT_EQ(rr_rec_no(h_), 3);
}

rr_bool OnlyBonn(void* data, const uint8_t* record) {
  int32_t offset = 0, size = 0;
  uint8_t letter = 0;
  rr_field_info(*static_cast<int32_t*>(data), kOrt, &offset, &size, &letter);
  return std::strcmp(reinterpret_cast<const char*>(record + offset), "Bonn") == 0;
}

TEST_F(Search, SearchUnderTestsFindsOnlyAcceptedRecords) {
  Add("Adam", "Berlin");
  Add("Adam", "Bonn");
  rr_set_tests(h_, OnlyBonn, &h_, nullptr, nullptr);
  rr_enable_tests(h_, 1, 0);
  rr_tests_on(h_, 1);
  Record key(h_);
  key.SetText(kName, "Adam");
  int32_t fields[] = {kName};
  for (int32_t index : {-1, 0, static_cast<int32_t>(kByName)}) {
    ASSERT_TRUE(rr_search(h_, fields, 1, key.Data(), index, 0, 0, 0)) << index;
    EXPECT_EQ(key.Text(kOrt), "Bonn");
    key.SetText(kOrt, "");
  }
  Record wrong(h_);
  wrong.SetText(kName, "Adam");
  wrong.SetText(kOrt, "Berlin");
  int32_t both[] = {kOrt, kName};
  EXPECT_FALSE(rr_search(h_, both, 2, wrong.Data(), kByOrtName, 0, 0, 1));
}

// Counts SQLite virtual machine steps of every connection opened while it
// is registered, the engine's included.
long long vm_steps = 0;
int CountStep(void*) {
  ++vm_steps;
  return 0;
}
int WatchConnection(sqlite3* db, const char**, const void*) {
  sqlite3_progress_handler(db, 1, CountStep, nullptr);
  return SQLITE_OK;
}

TEST_F(Search, IndexedSearchSeeksInsteadOfScanning) {
  ASSERT_TRUE(rr_batch_begin(h_));
  for (int i = 0; i < 3000; ++i) Add("Name" + std::to_string(100000 + i), "", i);
  ASSERT_TRUE(rr_batch_commit(h_));
  rr_close(h_);
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(WatchConnection));
  ASSERT_EQ(Open(sample_), 0);
  auto steps_of = [&](int32_t field, int32_t index, int32_t anzahl) {
    Record key(h_);
    key.SetInt(kAnzahl, anzahl);
    if (field == kName) key.SetText(kName, "Name" + std::to_string(100000 + anzahl));
    int32_t fields[] = {field};
    long long before = vm_steps;
    EXPECT_TRUE(rr_search(h_, fields, 1, key.Data(), index, 0, 0, 1)) << LastError(h_);
    EXPECT_EQ(rr_record_id(h_), anzahl + 1);
    return vm_steps - before;
  };
  long long seek = steps_of(kName, kByName, 2500);
  long long number_seek = steps_of(kAnzahl, kByAnzahl, 2600);
  long long scan = steps_of(kName, -1, 2500);
  sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(WatchConnection));
  EXPECT_LT(seek, 2000);
  EXPECT_LT(number_seek, 2000);
  EXPECT_GT(scan, 20000);
}

}  // namespace
}  // namespace vesk
