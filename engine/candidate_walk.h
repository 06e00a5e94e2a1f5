// The records of a table's order that meet its candidate condition: SQLite
// finds them along the current index, and the walk tells their positions in
// the order, from the start on as far as a move needs them. Where the
// condition does not narrow the index, the walk along it reads every record
// of the table: beyond the first candidates one scan finds the rest, whose
// positions are then sorted and their records kept for the walk to read.
// A walk that starts at the order's end goes back along the index the same
// way. Each candidate found is told certain or not.
// It also counts the candidates that pass the record tests, in whatever
// order SQLite finds them fastest.
#ifndef VESK_ENGINE_CANDIDATE_WALK_H
#define VESK_ENGINE_CANDIDATE_WALK_H

#include <sqlite3.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/candidate_condition.h"
#include "engine/catalogue.h"
#include "engine/id_sequence.h"
#include "engine/packed_records.h"
#include "engine/sql.h"

namespace vesk::engine {

class CandidateWalk {
 public:
  // Position of a record identity in the order, or IdSequence::kNotFound.
  // first: the first candidate of a walk from the order's start or end; no
  // position beyond it matters, so the order may be anchored on it.
  using PositionOf = std::function<size_t(int32_t identity, bool first)>;

  // The condition for the order of index_number; none switches the walk off.
  void Set(std::shared_ptr<const CandidateCondition> condition);
  void Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number);
  // A condition is set and SQLite could run it.
  bool On() const { return condition_ != nullptr && !failed_; }
  // The order changed: what was found no longer holds.
  void Restart();
  // Ends SQLite's read; the walk starts over when it was not complete.
  void Suspend();

  // The first candidate position from `from` on (from_start: `from` is the
  // order's first position), or kNotFound; switches the walk off
  // (kNotFound) when SQLite or the order disagree.
  size_t Next(size_t from, bool from_start, const PositionOf& position_of);
  // The last candidate position before `end`, or kNotFound. from_end:
  // `end` is the order's end, and a walk not begun yet goes back from it.
  size_t Prior(size_t end, bool from_end, const PositionOf& position_of);
  // Whether the candidate at position, as Next or Prior gave it, is certain.
  bool Certain(size_t position) const;
  // The record at position when the walk has just found it, or the scan
  // for the rest kept it.
  bool ReadAt(size_t position, uint8_t* buffer) const;
  // Takes the record in buffer and whether it is certain.
  using Accept = std::function<bool(const uint8_t* record, bool certain)>;
  // Candidates that accept takes; with certain_pass the certain ones count
  // without being read. -1 when SQLite fails.
  int32_t Count(const Accept& accept, bool certain_pass, uint8_t* buffer);

 private:
  // Steps to the next candidate in the walk's direction (or finds all the
  // rest); false at the end or on a failure. from_end: the walk goes from
  // the order's start (or end, going back).
  bool Step(const PositionOf& position_of, bool from_end);
  // The statement along the index, forward or back.
  SqlCondition Along(bool back) const;
  bool FindRest(const PositionOf& position_of);
  void Fail();
  void Forget();  // the statements, and what was found
  // The records within range_, less the odd leads among them.
  int32_t CountBesideOddLeads();
  // The index in found_ of the first candidate at or after position.
  size_t FoundFrom(size_t position) const;
  // Steps through the rows of statement, giving each to take.
  void CountRows(sqlite3_stmt* rows, const std::function<void(sqlite3_stmt*)>& take);
  // statement, prepared from query at its first use.
  sqlite3_stmt* Counting(sqlite3_stmt*& statement, const std::function<SqlCondition()>& query);
  // The statement of query's text, its parameters bound.
  sqlite3_stmt* PrepareBound(const SqlCondition& query);

  sqlite3* db_ = nullptr;
  const Catalogue* catalogue_ = nullptr;
  std::shared_ptr<const CandidateCondition> condition_;
  int32_t index_number_ = 0;
  SqlCondition range_;      // along the index, or empty
  SqlCondition filter_;     // range and condition, for every statement
  SqlCondition certain_;    // the certain condition's own parameters follow
  SqlCondition uncertain_;  // the candidates not certain, as index ranges, or empty
  StatementCache statements_;
  sqlite3_stmt* ordered_ = nullptr;
  sqlite3_stmt* reversed_ = nullptr;  // prepared when a walk first goes back
  sqlite3_stmt* rest_ = nullptr;      // where the condition does not narrow the index
  // Prepared at the first count: all candidates; the number of them and of
  // the certain ones; those not certain.
  sqlite3_stmt *counting_ = nullptr, *counting_certain_ = nullptr, *counting_uncertain_ = nullptr;
  bool failed_ = false;
  bool complete_ = false;
  // The walk goes back from the order's end: found_ holds every candidate
  // from its first one on.
  bool back_ = false;
  // Whether counting the range less its odd leads gives the count; told at
  // the first count.
  std::optional<bool> beside_odd_leads_;
  struct Found {
    size_t position;
    bool certain;
    uint32_t kept = PackedRecords::kNone;  // its record in rows_
  };
  std::deque<Found> found_;  // so far, ascending
  mutable size_t hint_ = 0;  // where FoundFrom found the last one
  // The walk's statement stands on the row of the candidate found last.
  bool row_held_ = false;
  sqlite3_stmt* Walking() const { return back_ ? reversed_ : ordered_; }
  const Found& FoundLast() const { return back_ ? found_.front() : found_.back(); }
  PackedRecords rows_;  // those the scan for the rest found
  std::vector<uint8_t> scratch_;
};

}  // namespace vesk::engine

#endif
