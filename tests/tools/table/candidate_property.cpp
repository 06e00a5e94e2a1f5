#include "tests/tools/table/candidate_property.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "engine/radiridir.h"
#include "toolkit/data/field.h"
#include "toolkit/data/notices.h"
#include "tools/table/RadiRidirEngine.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {
namespace {

template <typename T, size_t N>
const T& Pick(std::mt19937& random, const T (&choices)[N]) {
  return choices[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}
bool Chance(std::mt19937& random, double p) { return std::bernoulli_distribution(p)(random); }

constexpr const char* kPieces[] = {"M", "m", "Mü", "mü", "MÜ", "Ma", "ma", "a", "A", "ä", "Ä", "*",  "z", "Z",
                                   "ß", "é", "Me", "mE", "N",  "n",  "ch", "L", "_", "%", "'", "Ｍ", "Ṁ", "-"};
constexpr double kDays[] = {46023, 46023.5, 46024, 46022.999999999, 46023.000000001, 46023.0000001, -0.5, -3.25, 0,
                            0.5,   1,       3e6,   2958464.99,      -700000};
constexpr double kValues[] = {-1.5, 0, 2.25, 1e10, 3};

std::string RandomText(std::mt19937& random, int most) {
  std::string text;
  for (int n = std::uniform_int_distribution<int>(0, most)(random); n > 0; --n) text += Pick(random, kPieces);
  return text;
}

// Fields: Name S:10, Kat S:6, Datum D, Nr I, Wert F; indexes by name
// without regard to case, by category, by date and number.
const rr_field_spec kFields[] = {{"Name", 'S', 10, nullptr, nullptr, nullptr, nullptr},
                                 {"Kat", 'S', 6, nullptr, nullptr, nullptr, nullptr},
                                 {"Datum", 'D', 0, nullptr, nullptr, nullptr, nullptr},
                                 {"Nr", 'I', 0, nullptr, nullptr, nullptr, nullptr},
                                 {"Wert", 'F', 0, nullptr, nullptr, nullptr, nullptr}};
constexpr const char* kIndexes[] = {"", "NameIx", "KatIx", "DatumIx"};

// One dataset on the table in the case's order, options and filter text;
// false when the text does not prepare.
bool OpenCase(TRadiRidir& table, const std::string& path, const std::string& index, TFilterOptions options,
              const std::string& filter, bool event, int64_t& tested) {
  table.SetTableName(path);
  table.SetReadOnly(true);
  table.Open();
  table.SetIndexName(index);
  table.SetFilterOptions(options);
  table.SetFilterText(filter);
  if (event)
    table.SetOnFilterRecord([&tested](TDataSet&, bool& accept) {
      ++tested;
      accept = true;
    });
  try {
    table.SetFiltered(true);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

// Record numbers forward, then backward, then the count.
std::vector<int> Visit(TRadiRidir& table) {
  std::vector<int> seen;
  for (table.First(); !table.Eof(); table.Next()) seen.push_back(table.RecNo());
  seen.push_back(0);
  for (table.Last(); !table.Bof(); table.Prior()) seen.push_back(table.RecNo());
  seen.push_back(table.RecordCount());
  return seen;
}

std::string Show(const std::vector<int>& seen) {
  std::string text;
  for (int n : seen) text += std::to_string(n) + " ";
  return text;
}

}  // namespace

void MakeRandomTable(const std::string& path, std::mt19937& random) {
  const int32_t name[] = {0}, kat[] = {1}, datum[] = {2, 3};
  const rr_index_spec indexes[] = {{"NameIx", name, 1, 1}, {"KatIx", kat, 1, 0}, {"DatumIx", datum, 2, 0}};
  const int32_t h = rr_new(0);
  struct Free {
    int32_t h;
    ~Free() { rr_free(h); }
  } free_handle{h};
  if (rr_create(h, path.c_str(), kFields, 5, indexes, 3) < 0 ||
      rr_open(h, ToEngineText(path).data(), RR_MODE_READ_WRITE) < 0)
    throw std::runtime_error("cannot make " + path);
  std::vector<uint8_t> record(static_cast<size_t>(rr_record_size(h)));
  auto offset = [h](int32_t field) {
    int32_t at = 0, size = 0;
    uint8_t letter = 0;
    rr_field_info(h, field, &at, &size, &letter);
    return static_cast<size_t>(at);
  };
  for (int n = std::uniform_int_distribution<int>(0, 40)(random); n > 0; --n) {
    rr_blank_record(h, record.data());
    for (int32_t field = 0; field < 5; ++field) {
      if (Chance(random, 0.15)) continue;  // absent
      record[static_cast<size_t>(field)] = 1;
      uint8_t* at = record.data() + offset(field);
      if (field < 2) {
        const std::string text = RandomText(random, field == 0 ? 3 : 2);
        std::memcpy(at, text.data(), text.size());
      } else if (field == 3) {
        const int32_t number = std::uniform_int_distribution<int32_t>(-3, 3)(random);
        std::memcpy(at, &number, sizeof number);
      } else {
        const double value = field == 2 ? Pick(random, kDays) : Pick(random, kValues);
        std::memcpy(at, &value, sizeof value);
      }
    }
    if (!rr_put_buffer(h, record.data()) || !rr_store_new(h)) throw std::runtime_error("cannot store in " + path);
  }
}

std::string RandomFilterText(std::mt19937& random) {
  constexpr const char* kFieldNames[] = {"Name", "name", "NAME", "[Name]", "Kat", "Datum", "Nr", "Wert"};
  constexpr const char* kOperators[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
  constexpr const char* kConstants[] = {"NULL", "True",       "False",        "1",          "-2",
                                        "3",    "01.01.2026", "'01.01.2026'", "31.12.1899", "'02.01.2026 12:00:00'",
                                        "'x'",  "''"};
  const int kind = std::uniform_int_distribution<int>(0, 10)(random);
  if (kind == 10) {
    // A letter page of the windows.
    constexpr const char* kLetters[] = {"M", "m", "A", "Z", "L", "N"};
    const std::string letter = Pick(random, kLetters);
    const std::string other(1, static_cast<char>(letter[0] ^ 0x20));
    return "Name = '" + letter + "*'" + (Chance(random, 0.7) ? " OR Name = '" + other + "*'" : "");
  }
  std::string text;
  if (kind < 6) {
    text = std::string(Pick(random, kFieldNames)) + Pick(random, kOperators);
    if (Chance(random, 0.6)) {
      std::string constant = RandomText(random, 2);
      if (Chance(random, 0.5)) constant += "*";
      std::string quoted = "'";
      for (char c : constant) quoted += c == '\'' ? std::string("''") : std::string(1, c);
      text += quoted + "'";
    } else {
      text += Pick(random, kConstants);
    }
    return text;
  }
  if (kind == 6) return "NOT (" + RandomFilterText(random) + ")";
  if (kind == 7) return "(" + RandomFilterText(random) + ")";
  return RandomFilterText(random) + (kind == 8 ? " AND " : " OR ") + RandomFilterText(random);
}

std::string CheckCandidateCase(const std::string& path, std::mt19937& random, CandidateCase& result) {
  // A record whose test fails is rejected, and the failure shown: here
  // nothing is to be shown.
  SetNoticeHandlers({.error = [](const std::exception&) {}, .warning = {}});
  const std::string filter = RandomFilterText(random);
  const std::string index = Pick(random, kIndexes);
  const auto options = static_cast<TFilterOptions>(std::uniform_int_distribution<int>(0, 3)(random));
  const bool event = Chance(random, 0.5);
  TRadiRidir with, without;
  result.prepared = OpenCase(with, path, index, options, filter, event, result.tested_with);
  const bool prepared = OpenCase(without, path, index, options, filter, event, result.tested_without);
  if (result.prepared != prepared) return "one of two datasets prepared " + filter;
  if (!prepared) return {};
  // The second dataset's engine walks every record.
  rr_set_candidates(TRadiRidirEngine::Handle(without), nullptr, 0, nullptr, 0);
  const std::vector<int> expected = Visit(without), seen = Visit(with);
  if (seen == expected) return {};
  return "filter " + filter + " options " + std::to_string(options) + " order " + index + ": candidates visit " +
         Show(seen) + "/ every record " + Show(expected);
}

}  // namespace vesk
