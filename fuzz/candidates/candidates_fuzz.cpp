// The fuzz target of the candidate condition: the input seeds the random
// table and the random filter texts of the property the table tests check
// a bounded number of times.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "fuzz/fuzz_entry.h"
#include "tests/tools/table/candidate_property.h"

namespace vesk {

void FuzzOneInput(const uint8_t* data, size_t size) {
  std::seed_seq seed(data, data + size);
  std::mt19937 random(seed);
  const char* temp = getenv("TMPDIR");
  std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/candidates_fuzz.XXXXXX";
  if (!mkdtemp(folder.data())) FuzzRuleBroken("no temporary folder");
  std::string difference;
  try {
    MakeRandomTable(folder + "/fuzz.mti", random);
    for (int round = 0; round < 8 && difference.empty(); ++round) {
      CandidateCase result;
      difference = CheckCandidateCase(folder + "/fuzz.mti", random, result);
    }
  } catch (const std::exception& error) {
    difference = std::string("the case failed: ") + error.what();
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (difference.empty()) return;
  std::fprintf(stderr, "%s\n", difference.c_str());
  FuzzRuleBroken("the candidates visit other records than the walk of every record");
}

}  // namespace vesk
