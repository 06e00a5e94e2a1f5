// The candidate condition of a filter: the engine looks only at the records
// that can pass, and a filtered dataset shows exactly what it showed when
// the engine walked every record.
#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "tests/tools/table/candidate_property.h"
#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/field.h"
#include "toolkit/data/string_field.h"
#include "tools/filter/expr_filter.h"
#include "tools/table/RadiRidirCandidates.h"
#include "tools/table/RadiRidirEngine.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {
namespace {

TEST(CandidateProperty, RandomFiltersVisitWhatTheWalkOfEveryRecordVisits) {
  TempFolder folder;
  std::mt19937 random(17);
  int prepared = 0;
  int64_t tested_with = 0, tested_without = 0;
  for (int table = 0; table < 25; ++table) {
    const std::string path = folder.File("t" + std::to_string(table) + ".mti");
    MakeRandomTable(path, random);
    for (int round = 0; round < 16; ++round) {
      CandidateCase result;
      ASSERT_EQ(CheckCandidateCase(path, random, result), "");
      prepared += result.prepared ? 1 : 0;
      tested_with += result.tested_with;
      tested_without += result.tested_without;
    }
  }
  // Enough texts prepared, and the candidates spared the event a quarter
  // of the records at least.
  EXPECT_GT(prepared, 150);
  EXPECT_LT(tested_with * 4, tested_without * 3);
}

class CandidatesTest : public TableTest {
 protected:
  // Names in both cases, a category and a date each; the event counts the
  // records the engine lets it see.
  std::unique_ptr<TRadiRidir> OpenPages(const std::string& index) {
    const std::string path = CreateTable("seiten.mti", {{"Name", 'S', 20}, {"Kategorie", 'S', 10}, {"Datum", 'D'}},
                                         {{"NameIx", {0}, true}, {"DatumIx", {2}}});
    auto table = Open(path);
    const char* rows[][3] = {{"Meier", "Privat", "01.01.2026"}, {"müller", "Verein", "02.01.2026"},
                             {"Adam", "Privat", "01.01.2026"},  {"mann", "Privat", "03.01.2026"},
                             {"Zorn", "", "02.01.2026"},        {"MEIER", "privat", "01.01.2026"}};
    for (const auto& row : rows) AppendRecord(*table, {{"Name", row[0]}, {"Kategorie", row[1]}, {"Datum", row[2]}});
    table->SetIndexName(index);
    table->SetOnFilterRecord([this](TDataSet&, bool& accept) {
      ++seen_;
      accept = true;
    });
    table->SetFiltered(true);
    return table;
  }
  // The names of the page, and how many records the event saw for them.
  std::string Page(TRadiRidir& table, const std::string& filter) {
    table.SetFilterText(filter);
    seen_ = 0;
    std::string names;
    for (table.First(); !table.Eof(); table.Next()) names += table.FieldByName("Name")->AsString() + " ";
    return names + std::to_string(seen_);
  }
  int seen_ = 0;
};

TEST_F(CandidatesTest, ThePagesOfTheWindowsSeeOnlyTheirRecords) {
  auto table = OpenPages("NameIx");
  // Every move of the walk looks at the page's records alone.
  EXPECT_EQ(Page(*table, "Name = 'M*' OR Name = 'm*'"), "mann Meier MEIER müller 4");
  EXPECT_EQ(Page(*table, "Kategorie = 'Privat'"), "Adam mann Meier 3");
  table->SetFilterOptions(foCaseInsensitive);
  EXPECT_EQ(Page(*table, "Kategorie = 'PRIVAT'"), "Adam mann Meier MEIER 4");
  EXPECT_EQ(Page(*table, "Name = 'mei*'"), "Meier MEIER 2");
  // What the condition cannot bound is left to the test: every record.
  EXPECT_EQ(Page(*table, "Name >= 'm*'"), "mann Meier MEIER müller Zorn 6");
  table->SetFilterOptions(0);
  table->SetIndexName("DatumIx");
  EXPECT_EQ(Page(*table, "Datum = 01.01.2026"), "Meier Adam MEIER 3");
  EXPECT_EQ(Page(*table, "Datum >= 02.01.2026 AND NOT (Name = 'Z*')"), "müller mann 2");
  EXPECT_EQ(Page(*table, "Name >= 'm*' OR Datum = NULL"), "müller mann 2");
}

TEST_F(CandidatesTest, ACountTestsOnlyTheCandidates) {
  auto table = OpenPages("NameIx");
  table->SetFilterText("Name = 'M*'");
  seen_ = 0;
  EXPECT_EQ(table->RecordCount(), 2);
  EXPECT_EQ(seen_, 2);
}

TEST_F(CandidatesTest, ThePagesOfTheWindowsAreCertainAndAPartThatMayFailMakesNothingCertain) {
  auto table = OpenPages("NameIx");
  // The texts are only parsed, on a record without values, where no
  // comparison fails.
  table->SetFiltered(false);
  AppendRecord(*table, {{"Datum", "05.01.2026"}});
  table->First();
  ASSERT_TRUE(table->FieldByName("Name")->IsNull());
  auto derive = [&table](const std::string& filter) {
    table->SetFilterText(filter);
    TExprFilter expression(table.get());
    expression.SetActive(true);
    return DeriveCandidates(expression.Tree(), 0, [](const std::string& name) {
      if (name == "Datum") return CandidateField{CandidateField::kDate, 2};
      return CandidateField{CandidateField::kText, name == "Name" ? 0 : 1};
    });
  };
  auto same = [](const CandidateTerms& c) {
    return std::ranges::equal(c.terms, c.certain, [](const rr_candidate_term& a, const rr_candidate_term& b) {
      return a.op == b.op && a.field == b.field && a.number == b.number &&
             std::string(a.text ? a.text : "") == std::string(b.text ? b.text : "");
    });
  };
  for (const char* exact :
       {"Name = 'M*' OR Name = 'm*'", "Kategorie = 'Privat'", "Name >= 'M' AND NOT (Name = NULL)"}) {
    const CandidateTerms c = derive(exact);
    EXPECT_FALSE(c.terms.empty()) << exact;
    EXPECT_TRUE(same(c)) << exact;
  }
  // A whole day shows as itself: the stored day is certain, dates within a
  // millisecond of it only candidates.
  for (const char* day : {"Datum = 01.01.2026", "Datum >= 01.01.2026", "Datum <= '01.01.2026 09:30:00'"}) {
    const CandidateTerms c = derive(day);
    EXPECT_FALSE(c.certain.empty()) << day;
    EXPECT_FALSE(same(c)) << day;
  }
  // A category against a truth value fails to evaluate when the category
  // has a value, which rejects the record whatever the other side of OR
  // says: candidates, but none certain.
  const CandidateTerms failing = derive("Name = 'M*' AND (Kategorie = 'Privat' OR Kategorie = False)");
  EXPECT_FALSE(failing.terms.empty());
  EXPECT_TRUE(failing.certain.empty());
}

TEST_F(CandidatesTest, DatesWithinAMillisecondOfTheDayAreCountedAsTheyShow) {
  // Dates another program stored off the millisecond: 0.3 ms before the
  // day shows as the day, 0.7 ms before it as the millisecond before.
  const std::string path = CreateTable("tage.mti", {{"Datum", 'D'}}, {{"DatumIx", {0}}});
  const double day = 46023, ms = 1.0 / 86400000;
  {
    const int32_t h = rr_new(0);
    ASSERT_GE(rr_open(h, ToEngineText(path).data(), RR_MODE_READ_WRITE), 0);
    std::vector<uint8_t> record(static_cast<size_t>(rr_record_size(h)));
    int32_t offset = 0, size = 0;
    uint8_t letter = 0;
    rr_field_info(h, 0, &offset, &size, &letter);
    for (double stored : {day, day - 0.3 * ms, day - 0.7 * ms, day + 0.7 * ms, day + 0.5, -1.0}) {
      rr_blank_record(h, record.data());
      if (stored >= 0) {
        record[0] = 1;
        std::memcpy(record.data() + offset, &stored, sizeof stored);
      }
      ASSERT_TRUE(rr_put_buffer(h, record.data()) && rr_store_new(h));
    }
    rr_free(h);
  }
  auto table = Open(path);
  table->SetIndexName("DatumIx");
  table->SetFiltered(true);
  for (const auto& [filter, passing] :
       {std::pair{"Datum = 01.01.2026", 2}, {"Datum >= 01.01.2026", 4}, {"Datum < 01.01.2026", 2}}) {
    table->SetFilterText(filter);
    int walked = 0;
    for (table->First(); !table->Eof(); table->Next()) ++walked;
    EXPECT_EQ(walked, passing) << filter;
    EXPECT_EQ(table->RecordCount(), passing) << filter;
  }
}

TEST_F(CandidatesTest, AShortPersistentTextFieldIsLeftToTheTest) {
  // The field shows four characters of a longer text: "Meie" passes the
  // filter though the stored text does not equal it.
  const std::string path = CreateTable("kurz.mti", {{"Name", 'S', 20}});
  auto table = Open(path);
  AppendRecord(*table, {{"Name", "Meier"}});
  table->Close();
  AddField<TStringField>(*table, "Name")->SetSize(4);
  table->SetFilterText("Name = 'Meie'");
  table->SetFiltered(true);
  table->Open();
  EXPECT_EQ(table->RecordCount(), 1);
  EXPECT_FALSE(table->Eof());
}

TEST(CandidateTerms, TheEngineRefusesTermsThatFormNoCondition) {
  TempFolder folder;
  const std::string path = folder.File("t.mti");
  std::mt19937 random(3);
  MakeRandomTable(path, random);
  TRadiRidir table;
  table.SetTableName(path);
  table.Open();
  const int32_t h = TRadiRidirEngine::Handle(table);
  const rr_candidate_term lonely_and[] = {{RR_CAND_AND, -1, 0, nullptr}};
  const rr_candidate_term text_on_number[] = {{RR_CAND_PREFIX, 3, 0, "1"}};
  const rr_candidate_term no_field[] = {{RR_CAND_EQ, 9, 0, "x"}};
  const rr_candidate_term two_left[] = {{RR_CAND_TRUE, -1, 0, nullptr}, {RR_CAND_FALSE, -1, 0, nullptr}};
  for (const auto* terms : {lonely_and, text_on_number, no_field})
    EXPECT_FALSE(rr_set_candidates(h, terms, 1, nullptr, 0));
  EXPECT_FALSE(rr_set_candidates(h, two_left, 2, nullptr, 0));
  // Refused terms leave no condition: a test that takes every record sees all.
  int seen = 0;
  table.SetOnFilterRecord([&seen](TDataSet&, bool& accept) { accept = ++seen > 0; });
  table.SetFiltered(true);
  seen = 0;
  EXPECT_EQ(table.RecordCount(), seen);
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace vesk
