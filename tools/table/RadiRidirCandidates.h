// The candidate condition of a prepared filter expression: a condition the
// engine can hand to SQLite and its indexes that every record passing the
// expression meets (it may let more through, never fewer), so that the
// expression test needs to see only those; and the certain condition, met
// only by records that pass the expression (it may leave some out), so that
// the test need not see those. Comparisons it cannot bound admit every
// record and make none certain; NOT swaps the two.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/radiridir.h"
#include "tools/filter/expr_tree.h"

namespace vesk {

// How the engine holds a field's values, as far as the expression sees
// them exactly: kText for texts shown whole, kNumber for integers and
// floating-point numbers, kDate for dates (seen to the millisecond).
struct CandidateField {
  enum Kind { kNone, kText, kNumber, kDate } kind = kNone;
  int32_t number = -1;  // the engine's field number
};

struct CandidateTerms {
  std::vector<rr_candidate_term> terms;    // empty: every record
  std::vector<rr_candidate_term> certain;  // empty: no record
  std::deque<std::string> texts;           // what the terms' texts point into
};

// options: the filter's Options bits; field_of tells each field named in
// the tree.
CandidateTerms DeriveCandidates(const TExprNode* root, uint32_t options,
                                const std::function<CandidateField(const std::string& name)>& field_of);

}  // namespace vesk
