// The candidate condition of a table: moves and counts under the record
// tests look only at the records meeting it, in the order of the current
// index, and a range over the index never leaves out one of them, whatever
// the table's text order makes of its letters.
#include <sqlite3.h>
#include <unicode/uloc.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

uint8_t AcceptAll(void* seen, const uint8_t*) {
  ++*static_cast<int*>(seen);
  return 1;
}

uint8_t RejectAll(void* seen, const uint8_t*) {
  ++*static_cast<int*>(seen);
  return 0;
}

class CandidatesTest : public EngineTest {
 protected:
  void TearDown() override {
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(locale_.c_str(), &status);
    EngineTest::TearDown();
  }
  // The sample table made under locale with these names, in name order
  // without regard to case, every record passing the tests.
  void OpenUnder(const char* locale, const std::vector<std::string>& names) {
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(locale, &status);
    rr_close(h_);
    sample_ = Path(std::string(locale) + ".mti");
    OpenSample();
    for (const std::string& name : names) Add(name);
    ASSERT_TRUE(rr_select_index(h_, kByNameNoCase)) << LastError(h_);
    rr_set_tests(h_, AcceptAll, &seen_, nullptr, nullptr);
    rr_enable_tests(h_, 1, 0);
    rr_tests_on(h_, 1);
  }
  // The names the moves reach under the condition, forward and back.
  std::string Walk(const std::vector<rr_candidate_term>& terms) {
    EXPECT_TRUE(rr_set_candidates(h_, terms.data(), static_cast<int32_t>(terms.size()), nullptr, 0)) << LastError(h_);
    return Moves();
  }
  std::string Moves() {
    seen_ = 0;
    std::string names;
    for (rr_first(h_); !rr_eof(h_); rr_next(h_)) names += CurrentName() + " ";
    names += "|";
    for (rr_last(h_); !rr_bof(h_); rr_prior(h_)) names += " " + CurrentName();
    return names;
  }
  static rr_candidate_term Term(int32_t op, const char* text = nullptr) { return {op, kName, 0, text}; }

  std::string locale_ = uloc_getDefault();
  int seen_ = 0;
};

TEST_F(CandidatesTest, APrefixMeetsEveryNameThatBeginsWithIt) {
  // Danish sorts "aa" as å after z, Czech "ch" after h: a range from A to B
  // or from C to D would miss Aaberg and Chudoba.
  for (const char* locale : {"da_DK", "cs_CZ", "de_DE"}) {
    SCOPED_TRACE(locale);
    OpenUnder(locale, {"Aaberg", "Abel", "Chudoba", "Cech", "cis", "Dora", "Zander", "aal"});
    EXPECT_NE(Walk({Term(RR_CAND_PREFIX_NOCASE, "a")}).find("Aaberg"), std::string::npos);
    const std::string c = Walk({Term(RR_CAND_PREFIX, "C"), Term(RR_CAND_PREFIX, "c"), {RR_CAND_OR, 0, 0, nullptr}});
    for (const char* name : {"Chudoba", "Cech", "cis"}) EXPECT_NE(c.find(name), std::string::npos) << c;
    EXPECT_EQ(c.find("Dora"), std::string::npos) << c;
    // Only the candidates meet the tests, in both directions.
    EXPECT_EQ(seen_, 6);
  }
}

TEST_F(CandidatesTest, CountsAndMovesAgreeWithTheWalkOfEveryRecord) {
  OpenUnder("de_DE", {"Meier", "müller", "Adam", "MEIER", "mann", "Öl"});
  const std::vector<rr_candidate_term> page = {
      Term(RR_CAND_PREFIX, "M"), Term(RR_CAND_PREFIX, "m"), {RR_CAND_OR, 0, 0, nullptr}};
  EXPECT_EQ(Walk(page), "mann Meier MEIER müller | müller MEIER Meier mann");
  seen_ = 0;
  EXPECT_EQ(rr_record_count(h_), 4);
  EXPECT_EQ(seen_, 4);
  // Absent names, NOT and the ends of the table.
  EXPECT_EQ(Walk({Term(RR_CAND_ABSENT),
                  {RR_CAND_NOT, 0, 0, nullptr},
                  Term(RR_CAND_EQ_NOCASE, "meier"),
                  {RR_CAND_AND, 0, 0, nullptr}}),
            "Meier MEIER | MEIER Meier");
  EXPECT_EQ(Walk({{RR_CAND_FALSE, 0, 0, nullptr}}), "|");
  // A new record that meets the condition is met at once.
  EXPECT_EQ(Walk(page), "mann Meier MEIER müller | müller MEIER Meier mann");
  Add("Mz");
  EXPECT_EQ(Moves(), "mann Meier MEIER müller Mz | Mz müller MEIER Meier mann");
  // Without a condition every record is tested again.
  EXPECT_TRUE(rr_set_candidates(h_, nullptr, 0, nullptr, 0));
  seen_ = 0;
  EXPECT_EQ(rr_record_count(h_), 7);
  EXPECT_EQ(seen_, 7);
}

TEST_F(CandidatesTest, BeyondTheFirstCandidatesOneScanFindsTheRest) {
  // The condition names the place, not the name the order goes by.
  std::vector<std::string> names, expected;
  char name[8];
  for (int i = 449; i >= 0; --i) {
    std::snprintf(name, sizeof name, "N%03d", i);
    names.push_back(name);
  }
  OpenUnder("de_DE", {});
  for (int i = 0; i < 450; ++i) Add(names[static_cast<size_t>(i)], i % 3 == 0 ? "Ulm" : "Bonn");
  std::string forward, backward;
  for (int i = 0; i < 450; ++i) {
    if ((449 - i) % 3 != 0) continue;
    std::snprintf(name, sizeof name, "N%03d", i);
    forward += std::string(name) + " ";
    backward = " " + std::string(name) + backward;
  }
  const rr_candidate_term ulm = {RR_CAND_EQ, kOrt, 0, "Ulm"};
  EXPECT_EQ(Walk({ulm}), forward + "|" + backward);
  EXPECT_EQ(seen_, 300);
  // Moving on across the point where the scan takes over, and back.
  ASSERT_TRUE(rr_set_candidates(h_, &ulm, 1, nullptr, 0));
  rr_first(h_);
  for (int i = 0; i < 120; ++i) rr_next(h_);
  EXPECT_EQ(CurrentName(), forward.substr(120 * 5, 4));
  for (int i = 0; i < 60; ++i) rr_prior(h_);
  EXPECT_EQ(CurrentName(), forward.substr(60 * 5, 4));
}

TEST_F(CandidatesTest, CertainCandidatesAreSparedTheSecondTest) {
  OpenUnder("de_DE", {"Meier", "müller", "Adam", "MEIER", "mann", "Öl"});
  // A second test that rejects what it sees shows whom it saw.
  int rejected = 0;
  rr_set_tests(h_, nullptr, nullptr, RejectAll, &rejected);
  rr_enable_tests(h_, 0, 1);
  const std::vector<rr_candidate_term> page = {
      Term(RR_CAND_PREFIX, "M"), Term(RR_CAND_PREFIX, "m"), {RR_CAND_OR, 0, 0, nullptr}};
  const rr_candidate_term meier = Term(RR_CAND_EQ_NOCASE, "meier");
  ASSERT_TRUE(rr_set_candidates(h_, page.data(), 3, &meier, 1)) << LastError(h_);
  EXPECT_EQ(Moves(), "Meier MEIER | MEIER Meier");
  rejected = 0;
  EXPECT_EQ(rr_record_count(h_), 2);
  EXPECT_EQ(rejected, 2);  // mann and müller
  // Every candidate certain: the test is never called.
  ASSERT_TRUE(rr_set_candidates(h_, page.data(), 3, page.data(), 3)) << LastError(h_);
  rejected = 0;
  EXPECT_EQ(Moves(), "mann Meier MEIER müller | müller MEIER Meier mann");
  EXPECT_EQ(rr_record_count(h_), 4);
  EXPECT_EQ(rejected, 0);
  // The first test still judges the certain ones.
  rr_set_tests(h_, AcceptAll, &seen_, RejectAll, &rejected);
  rr_enable_tests(h_, 1, 1);
  seen_ = 0;
  EXPECT_EQ(rr_record_count(h_), 4);
  EXPECT_EQ(seen_, 4);
  EXPECT_EQ(rejected, 0);
  // Terms that form no certain condition are refused with the rest.
  const rr_candidate_term lonely_or = {RR_CAND_OR, 0, 0, nullptr};
  EXPECT_FALSE(rr_set_candidates(h_, page.data(), 3, &lonely_or, 1));
}

TEST_F(CandidatesTest, ALetterIsCountedAlongTheIndexLessItsOddLeads) {
  // Each order puts names among the letter's that do not begin with it:
  // full-width and accented letters, and whatever the order itself makes
  // of letters, contractions and punctuation.
  const std::vector<std::string> names = {"Ivan",  "ivo",     "Yla",  "Hahn", "hohl", "Chudoba", "Ｈase",  "Ḣelm",
                                          "-Hase", "\x01Hut", "Hühn", "",     "Iris", "Aarhus",  "Zander", "zorn"};
  for (const char* locale : {"de_DE", "lt_LT", "cs_CZ", "da_DK", "de_DE@colAlternate=shifted"}) {
    SCOPED_TRACE(locale);
    OpenUnder(locale, names);
    // Every candidate is certain: a test that rejects all is never asked.
    rr_set_tests(h_, nullptr, nullptr, RejectAll, &seen_);
    rr_enable_tests(h_, 0, 1);
    for (const char* letter : {"H", "I", "Z"}) {
      const std::string lower(1, static_cast<char>(letter[0] | 0x20));
      const std::vector<rr_candidate_term> page = {
          Term(RR_CAND_PREFIX, letter), Term(RR_CAND_PREFIX, lower.c_str()), {RR_CAND_OR, 0, 0, nullptr}};
      ASSERT_TRUE(rr_set_candidates(h_, page.data(), 3, page.data(), 3)) << LastError(h_);
      EXPECT_EQ(rr_record_count(h_), letter[0] == 'Z' ? 2 : 3) << letter;
    }
  }
  // A file made before it kept its odd leads counts all the same, and gets
  // them at its next open for writing.
  rr_close(h_);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(sample_.c_str(), &db), SQLITE_OK);
  const char* odd_leads = "SELECT count(*) FROM sqlite_schema WHERE name = 'index_2_odd'";
  auto has_odd_leads = [&] {
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, odd_leads, -1, &query, nullptr);
    const bool has = sqlite3_step(query) == SQLITE_ROW && sqlite3_column_int(query, 0) == 1;
    sqlite3_finalize(query);
    return has;
  };
  EXPECT_TRUE(has_odd_leads());
  ASSERT_EQ(sqlite3_exec(db, "DROP INDEX index_2_odd", nullptr, nullptr, nullptr), SQLITE_OK);
  for (int32_t mode : {RR_MODE_READ_ONLY, RR_MODE_READ_WRITE}) {
    ASSERT_EQ(Open(sample_, mode), 0) << LastError(h_);
    ASSERT_TRUE(rr_select_index(h_, kByNameNoCase)) << LastError(h_);
    rr_set_tests(h_, nullptr, nullptr, RejectAll, &seen_);
    rr_tests_on(h_, 1);
    rr_enable_tests(h_, 0, 1);
    const std::vector<rr_candidate_term> page = {Term(RR_CAND_PREFIX_NOCASE, "h")};
    ASSERT_TRUE(rr_set_candidates(h_, page.data(), 1, page.data(), 1)) << LastError(h_);
    EXPECT_EQ(rr_record_count(h_), 3);
    EXPECT_EQ(has_odd_leads(), mode == RR_MODE_READ_WRITE);
    rr_close(h_);
  }
  sqlite3_close(db);
}

TEST_F(CandidatesTest, TheScanTellsTheCertainOnesToo) {
  OpenUnder("de_DE", {});
  char name[8];
  for (int i = 0; i < 300; ++i) {
    std::snprintf(name, sizeof name, "N%03d", i);
    Add(name, i % 2 == 0 ? "Ulm" : "Bonn");
  }
  int rejected = 0;
  rr_set_tests(h_, nullptr, nullptr, RejectAll, &rejected);
  rr_enable_tests(h_, 0, 1);
  // Every place is a candidate along the name order, Ulm alone is certain:
  // beyond the first hundred the scan must tell them apart.
  const rr_candidate_term place[] = {{RR_CAND_ABSENT, kOrt, 0, nullptr}, {RR_CAND_NOT, 0, 0, nullptr}};
  const rr_candidate_term ulm = {RR_CAND_EQ, kOrt, 0, "Ulm"};
  ASSERT_TRUE(rr_set_candidates(h_, place, 2, &ulm, 1)) << LastError(h_);
  int passed = 0;
  for (rr_first(h_); !rr_eof(h_); rr_next(h_)) ++passed;
  EXPECT_EQ(passed, 150);
  EXPECT_EQ(rejected, 150);
  rr_last(h_);
  EXPECT_EQ(CurrentName(), "N298");
}

TEST_F(CandidatesTest, RecordsKeptByTheScanReadAsStored) {
  OpenUnder("de_DE", {});
  char name[8];
  for (int i = 0; i < 300; ++i) {
    std::snprintf(name, sizeof name, "N%03d", i);
    Record record(h_);
    record.SetText(kName, name);
    if (i % 4 != 0) record.SetText(kVorname, i % 3 == 0 ? "Jürgen" : "");
    record.SetText(kOrt, i % 2 == 0 ? "Ulm" : "Bonn");
    if (i % 5 != 0) record.SetInt(kAnzahl, -i);
    if (i % 3 != 0) record.SetReal(kBetrag, i * 1.25);
    record.SetBool(kAktiv, i % 7 == 0);
    ASSERT_TRUE(rr_put_buffer(h_, record.Data()) && rr_store_new(h_)) << LastError(h_);
  }
  // Every record of Ulm as the walk along the name order reads it, most of
  // them kept by the scan ...
  const rr_candidate_term ulm = {RR_CAND_EQ, kOrt, 0, "Ulm"};
  ASSERT_TRUE(rr_set_candidates(h_, &ulm, 1, &ulm, 1)) << LastError(h_);
  std::map<int32_t, std::vector<uint8_t>> seen;
  Record record(h_);
  for (int pass = 0; pass < 2; ++pass) {
    for (rr_first(h_); !rr_eof(h_); rr_next(h_)) {
      ASSERT_TRUE(rr_get_record(h_, record.Data())) << LastError(h_);
      std::vector<uint8_t> bytes(record.Data(), record.Data() + rr_record_size(h_));
      auto [at, added] = seen.emplace(rr_record_id(h_), bytes);
      if (!added) {
        EXPECT_EQ(at->second, bytes);
      }
    }
  }
  ASSERT_EQ(seen.size(), 150u);
  // ... is the record as stored.
  ASSERT_TRUE(rr_set_candidates(h_, nullptr, 0, nullptr, 0));
  rr_tests_on(h_, 0);
  for (rr_first(h_); !rr_eof(h_); rr_next(h_)) {
    auto at = seen.find(rr_record_id(h_));
    if (at == seen.end()) continue;
    ASSERT_TRUE(rr_get_record(h_, record.Data()));
    EXPECT_EQ(std::vector<uint8_t>(record.Data(), record.Data() + rr_record_size(h_)), at->second);
  }
}

}  // namespace
}  // namespace vesk
