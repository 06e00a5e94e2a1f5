// Storing new and changed records, AutoInc values, deleting, batches.
#include <sqlite3.h>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

using Editing = EngineTest;

TEST_F(Editing, StoreNewAssignsIdentityAndAutoIncAndStandsOnTheRecord) {
  OpenSample();
  int32_t first = Add("Adam");
  int32_t second = Add("Berta");
  EXPECT_GT(first, 0);
  EXPECT_GT(second, first);
  Record record(h_);
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  EXPECT_EQ(record.Text(kName), "Berta");
  EXPECT_EQ(record.Int(kNr), second);
  // Values of every kind come back as stored.
  record.SetText(kVorname, "Max");
  record.SetReal(kBetrag, 12.5);
  record.SetReal(kGeburt, 36526.75);
  record.SetBool(kAktiv, true);
  ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
  ASSERT_TRUE(rr_store_new(h_)) << LastError(h_);
  Record back(h_);
  ASSERT_TRUE(rr_get_record(h_, back.Data()));
  EXPECT_EQ(back.Text(kVorname), "Max");
  EXPECT_EQ(back.Real(kBetrag), 12.5);
  EXPECT_EQ(back.Real(kGeburt), 36526.75);
  EXPECT_TRUE(back.Bool(kAktiv));
  EXPECT_GT(back.Int(kNr), second);
  EXPECT_FALSE(back.Has(kNotiz));
}

TEST_F(Editing, IdentitiesAreNeverReused) {
  OpenSample();
  Add("Adam");
  int32_t last = Add("Berta");
  ASSERT_TRUE(rr_delete(h_));
  rr_close(h_);
  ASSERT_EQ(Open(sample_), 0);
  EXPECT_GT(Add("Cäsar"), last);
}

TEST_F(Editing, StoreOverChangesTheRecordAndKeepsItsPlaceInTheIndex) {
  OpenSample();
  Add("Adam");
  Add("Berta");
  Add("Cäsar");
  ASSERT_TRUE(rr_select_index(h_, kByName));
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_lock(h_));
  Record record(h_);
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  int32_t id = record.Int(kNr);
  record.SetText(kName, "Zacharias");
  ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
  ASSERT_TRUE(rr_store_over(h_)) << LastError(h_);
  EXPECT_EQ(CurrentName(), "Zacharias");
  EXPECT_EQ(rr_record_id(h_), id);
  EXPECT_EQ(rr_rec_no(h_), 3);
  EXPECT_EQ((std::vector<std::string>{"Berta", "Cäsar", "Zacharias"}), Names());
  // A new record lands at its place in the index order.
  Add("Bodo");
  EXPECT_EQ(CurrentName(), "Bodo");
  EXPECT_EQ(rr_rec_no(h_), 2);
}

TEST_F(Editing, DeleteMovesToTheFollowingRecordOrTheNewLast) {
  OpenSample();
  for (const char* name : {"A", "B", "C", "D", "E"}) Add(name);
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_delete(h_));  // start
  EXPECT_EQ(CurrentName(), "B");
  ASSERT_TRUE(rr_next(h_));
  ASSERT_TRUE(rr_delete(h_));  // middle
  EXPECT_EQ(CurrentName(), "D");
  ASSERT_TRUE(rr_last(h_));
  ASSERT_TRUE(rr_delete(h_));  // end
  EXPECT_EQ(CurrentName(), "D");
  EXPECT_FALSE(rr_eof(h_));
  EXPECT_EQ((std::vector<std::string>{"B", "D"}), Names());
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_delete(h_));
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_TRUE(rr_no_current(h_));
  EXPECT_FALSE(rr_delete(h_));
  EXPECT_EQ(LastError(h_), "No current record");
  EXPECT_EQ(rr_record_count(h_), 0);
}

TEST_F(Editing, ReadOnlyTableRefusesChanges) {
  OpenSample();
  Add("Adam");
  rr_close(h_);
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY), 0) << LastError(h_);
  Record record(h_);
  ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
  EXPECT_FALSE(rr_store_new(h_));
  EXPECT_EQ(LastError(h_), "Table " + sample_ + " is open for reading only");
  EXPECT_FALSE(rr_store_over(h_));
  EXPECT_FALSE(rr_delete(h_));
  EXPECT_FALSE(rr_lock(h_));
  EXPECT_EQ(rr_record_count(h_), 1);
}

TEST_F(Editing, BatchIsAllOrNothing) {
  OpenSample();
  Add("Adam");
  ASSERT_TRUE(rr_batch_begin(h_));
  EXPECT_FALSE(rr_batch_begin(h_));
  Add("Berta");
  Add("Cäsar");
  EXPECT_EQ(rr_record_count(h_), 3);
  ASSERT_TRUE(rr_batch_rollback(h_)) << LastError(h_);
  EXPECT_EQ(rr_record_count(h_), 1);
  EXPECT_EQ(CurrentName(), "Adam");
  ASSERT_TRUE(rr_batch_begin(h_));
  Add("Dora");
  ASSERT_TRUE(rr_batch_commit(h_)) << LastError(h_);
  EXPECT_FALSE(rr_batch_commit(h_));
  EXPECT_EQ(LastError(h_), "No batch is open");
  rr_close(h_);
  ASSERT_EQ(Open(sample_), 0);
  EXPECT_EQ((std::vector<std::string>{"Adam", "Dora"}), Names());
}

TEST_F(Editing, TextHoldsItsDeclaredCharactersInAnyScriptAndNoMore) {
  OpenSample();
  auto repeat = [](const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
  };
  // Vorname is declared with 20 characters: 20 of two, three or four bytes
  // each are kept whole; a 21st character, where the buffer has room for
  // it, is not stored.
  for (const std::string& character : {std::string("ü"), std::string("€"), std::string("𝄞")}) {
    Record record(h_);
    record.SetText(kName, "Adam");
    record.SetText(kVorname, repeat(character, 20) + (character.size() < 4 ? "x" : ""));
    ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
    ASSERT_TRUE(rr_store_new(h_)) << LastError(h_);
    Record stored(h_);
    ASSERT_TRUE(rr_get_record(h_, stored.Data()));
    EXPECT_EQ(stored.Text(kVorname), repeat(character, 20)) << character;
  }
  rr_close(h_);

  // A longer text put into the file from outside reads as its first 20
  // characters.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(sample_.c_str(), &db), SQLITE_OK);
  std::string sql = "UPDATE records SET Vorname = '" + repeat("ü", 25) + "'";
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  ASSERT_EQ(Open(sample_), 0);
  Record record(h_);
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  EXPECT_EQ(record.Text(kVorname), repeat("ü", 20));
}

}  // namespace
}  // namespace vesk
