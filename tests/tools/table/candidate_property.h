// The property of the candidate condition: over a table of random records
// (absent values, umlauts, letters in both cases, asterisks, dates off by
// less than a millisecond or outside the shown days) and a random filter
// text of the filter language under random options, order and event
// handler, a dataset that lets the engine look only at the candidates
// visits the same records in the same order, both ways, and counts the same
// as one whose engine walks every record.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace vesk {

struct CandidateCase {
  bool prepared = false;    // the filter text prepared (else nothing was compared)
  int64_t tested_with = 0;  // records the event saw with the candidates
  int64_t tested_without = 0;
};

// A table of random records at path (a new file ending in .mti).
void MakeRandomTable(const std::string& path, std::mt19937& random);
// A random filter text of the language, over the fields of that table.
std::string RandomFilterText(std::mt19937& random);
// Runs one case on the table; returns an empty text when both datasets
// agree, else what differed.
std::string CheckCandidateCase(const std::string& path, std::mt19937& random, CandidateCase& result);

}  // namespace vesk
