// Each table keeps the text order of the locale it was created under: the
// process's locale does not change it, a changed collator has the indexes
// rebuilt by the next writer, and tables without a recorded order adopt
// the process's one.
#include <sqlite3.h>
#include <unicode/uloc.h>

#include <string>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

class TextOrderTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    process_locale_ = uloc_getDefault();
  }
  void TearDown() override {
    SetLocale(process_locale_);
    EngineTest::TearDown();
  }
  static void SetLocale(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(locale.c_str(), &status);
    ASSERT_TRUE(U_SUCCESS(status)) << locale;
  }

  // Every name is found by a seek on the name index, and the walk in that
  // order gives expected.
  void ExpectOrderAndSeeks(const std::vector<std::string>& expected) {
    ASSERT_TRUE(rr_select_index(h_, kByName)) << LastError(h_);
    EXPECT_EQ(Names(), expected);
    const int32_t fields[] = {kName};
    for (const std::string& name : expected) {
      Record key(h_);
      key.SetText(kName, name);
      ASSERT_TRUE(rr_search(h_, fields, 1, key.Data(), kByName, 0, 0, 1)) << name << ": " << LastError(h_);
      EXPECT_EQ(CurrentName(), name);
    }
  }

  std::string Property(const std::string& key) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(sample_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string value = "(none)";
    if (sqlite3_prepare_v2(db, "SELECT value FROM properties WHERE key = ?", -1, &stmt, nullptr) == SQLITE_OK) {
      sqlite3_bind_text(stmt, 1, key.c_str(), -1, SQLITE_TRANSIENT);
      if (sqlite3_step(stmt) == SQLITE_ROW) value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
  }

  // Runs sql on the file with the index collations ordering by bytes
  // backwards, as another order would have left them.
  void ExecWithForeignOrder(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(sample_.c_str(), &db), SQLITE_OK);
    auto backwards = [](void*, int a_len, const void* a, int b_len, const void* b) {
      return -std::string(static_cast<const char*>(a), a_len).compare(std::string(static_cast<const char*>(b), b_len));
    };
    for (const char* name : {"vesk_text", "vesk_text_ci"})
      sqlite3_create_collation(db, name, SQLITE_UTF8, nullptr, backwards);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  }

  std::string process_locale_;
};

const std::vector<std::string> kGermanOrder = {"Abel", "Ärger", "Berg", "Mann", "Öl", "Zander"};

TEST_F(TextOrderTest, ATableKeepsTheOrderOfItsLocaleUnderAnother) {
  SetLocale("de_DE");
  OpenSample();
  for (const char* name : {"Zander", "Öl", "Abel", "Mann", "Ärger", "Berg"}) Add(name);
  rr_close(h_);
  EXPECT_EQ(Property("collation_locale"), "de_DE");

  // Under Swedish "Ä" and "Ö" would sort after "Z".
  SetLocale("sv_SE");
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0) << LastError(h_);
  ExpectOrderAndSeeks(kGermanOrder);
  rr_close(h_);
  ASSERT_EQ(Open(sample_), 0);
  ExpectOrderAndSeeks(kGermanOrder);
  Add("Äpfel");  // stored in its German place
  Add("Zeder");
  rr_close(h_);
  EXPECT_EQ(Property("collation_locale"), "de_DE");
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0);
  ExpectOrderAndSeeks({"Abel", "Äpfel", "Ärger", "Berg", "Mann", "Öl", "Zander", "Zeder"});
  rr_close(h_);

  // A table made under Swedish keeps the Swedish order under German.
  std::string german = sample_;
  sample_ = Path("schwedisch.mti");
  OpenSample();
  for (const char* name : {"Zander", "Öl", "Abel", "Ärger"}) Add(name);
  rr_close(h_);
  SetLocale("de_DE");
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0);
  ExpectOrderAndSeeks({"Abel", "Zander", "Ärger", "Öl"});
}

TEST_F(TextOrderTest, AChangedCollatorHasTheIndexesRebuiltByTheNextWriter) {
  SetLocale("de_DE");
  OpenSample();
  for (const char* name : {"Zander", "Öl", "Abel", "Mann", "Ärger", "Berg"}) Add(name);
  rr_close(h_);
  const std::string version = Property("collation_version");
  EXPECT_NE(version, "(none)");
  // An order the file's indexes no longer agree with, as after an ICU
  // update, recorded with an older collator version.
  ExecWithForeignOrder(
      "REINDEX vesk_text; REINDEX vesk_text_ci; "
      "UPDATE properties SET value = '1.0' WHERE key = 'collation_version'");

  // A reader leaves the file alone.
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0);
  rr_close(h_);
  EXPECT_EQ(Property("collation_version"), "1.0");

  SetLocale("sv_SE");
  ASSERT_EQ(Open(sample_), 0) << LastError(h_);
  EXPECT_EQ(Property("collation_version"), version);
  EXPECT_EQ(Property("collation_locale"), "de_DE");
  ExpectOrderAndSeeks(kGermanOrder);
}

TEST_F(TextOrderTest, TablesWithoutARecordedOrderAdoptTheProcesssOne) {
  SetLocale("sv_SE");
  OpenSample();
  for (const char* name : {"Zander", "Öl", "Abel", "Ärger"}) Add(name);
  rr_close(h_);
  // As older versions made them: no order recorded, indexes in whatever
  // order their process had.
  ExecWithForeignOrder("REINDEX vesk_text; REINDEX vesk_text_ci; DROP TABLE properties");

  SetLocale("de_DE");
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0) << LastError(h_);
  EXPECT_EQ(rr_record_count(h_), 4);
  rr_close(h_);
  EXPECT_EQ(Property("collation_locale"), "(none)");
  ASSERT_EQ(Open(sample_), 0) << LastError(h_);
  EXPECT_EQ(Property("collation_locale"), "de_DE");
  ExpectOrderAndSeeks({"Abel", "Ärger", "Öl", "Zander"});
  rr_close(h_);
  SetLocale("sv_SE");
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0);
  ExpectOrderAndSeeks({"Abel", "Ärger", "Öl", "Zander"});
}

}  // namespace
}  // namespace vesk
