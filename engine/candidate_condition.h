// A candidate condition as the engine keeps it: its terms, checked against
// the catalogue, and its SQL forms: the exact WHERE expression, and the range
// of the current index's leading field that holds every record meeting it.
// Beside it the certain condition, met only by records that pass the second
// record test, so that the test need not run on them.
#ifndef VESK_ENGINE_CANDIDATE_CONDITION_H
#define VESK_ENGINE_CANDIDATE_CONDITION_H

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/catalogue.h"
#include "engine/radiridir.h"

namespace vesk::engine {

// A value bound to one parameter of the SQL forms.
struct SqlValue {
  enum Kind { kNumber, kText } kind = kNumber;
  double number = 0;
  std::string text;
};

// SQL text with its parameters, numbered from ?1 in the order of params.
struct SqlCondition {
  std::string sql;
  std::vector<SqlValue> params;

  // Binds the parameters to stmt.
  void Bind(sqlite3_stmt* stmt) const;
  // Appends text, or another condition with its parameters.
  SqlCondition& Add(std::string_view text);
  SqlCondition& Add(const SqlCondition& part);
};

class CandidateCondition {
 public:
  struct Term {
    int32_t op = RR_CAND_TRUE;
    int32_t field = -1;
    double number = 0;
    std::string text;
  };

  // Copies and checks both lists of terms (no certain terms: no record is
  // certain); throws EngineError when one does not form one condition over
  // the catalogue's fields.
  CandidateCondition(const Catalogue& catalogue, const rr_candidate_term* terms, int32_t count,
                     const rr_candidate_term* certain, int32_t certain_count);

  // The records meeting the condition, as a WHERE expression (NULL where
  // it is false for an absent value).
  SqlCondition Where() const { return Sql(terms_); }
  // The records certain to pass, as an expression that is never NULL.
  SqlCondition Certain() const;
  // Every candidate is certain: both conditions are the same.
  bool Exact() const { return exact_; }
  // A range over the leading field of index number (from 1) holding every
  // record that meets the condition, or an empty text when the condition
  // does not narrow that field; whole tells that the range holds no other
  // record.
  SqlCondition IndexRange(int32_t index_number, bool* whole) const;
  // The records meeting the condition are those within IndexRange of index
  // number whose text there begins with a printable ASCII character: the
  // odd leads aside, the range is exact.
  bool ExactBesideOddLeads(int32_t index_number) const;
  // Where both conditions are whole ranges of that field: the candidates
  // that are not certain, as ranges of it; else an empty text.
  SqlCondition UncertainRanges(int32_t index_number) const;

 private:
  using Terms = std::vector<Term>;
  Terms Parse(const rr_candidate_term* terms, int32_t count) const;
  SqlCondition Sql(const Terms& terms) const;

  const Catalogue& catalogue_;
  Terms terms_;
  Terms certain_;
  bool exact_ = false;
};

}  // namespace vesk::engine

#endif
