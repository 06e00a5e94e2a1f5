#include "engine/candidate_walk.h"

#include <algorithm>
#include <functional>

#include "engine/engine_error.h"
#include "engine/record_codec.h"
#include "engine/scan_mapping.h"

namespace vesk::engine {

namespace {
// Candidates found along an index the condition does not narrow before one
// scan finds the rest: enough for the first records a window shows.
constexpr size_t kWalkedAlong = 100;

// Statements kept for conditions given earlier; more are dropped, as the
// conditions of a user's own filters come and go.
constexpr size_t kKeptStatements = 40;
}  // namespace

void CandidateWalk::Set(std::shared_ptr<const CandidateCondition> condition) {
  condition_ = std::move(condition);
  Forget();
}

sqlite3_stmt* CandidateWalk::PrepareBound(const SqlCondition& query) {
  sqlite3_stmt* statement = statements_.Get(query.sql);
  sqlite3_reset(statement);
  query.Bind(statement);
  return statement;
}

void CandidateWalk::Forget() {
  for (sqlite3_stmt** statement :
       {&ordered_, &reversed_, &rest_, &counting_, &counting_certain_, &counting_uncertain_}) {
    if (*statement) sqlite3_reset(*statement);
    *statement = nullptr;
  }
  failed_ = false;
  beside_odd_leads_.reset();
  Restart();
}

void CandidateWalk::Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number) {
  catalogue_ = &catalogue;
  scratch_.assign(static_cast<size_t>(catalogue.RecordSize()), 0);
  Forget();
  if (db != db_ || statements_.Size() > kKeptStatements) statements_ = StatementCache(db);
  db_ = db;
  if (!condition_) return;
  bool whole = false;
  index_number_ = index_number;
  range_ = condition_->IndexRange(index_number, &whole);
  filter_ = {};
  if (!range_.sql.empty()) filter_.Add(range_);
  if (!whole) filter_.Add(range_.sql.empty() ? "" : " AND ").Add(condition_->Where());
  certain_ = condition_->Exact() ? SqlCondition{"1", {}} : condition_->Certain();
  uncertain_ = whole ? condition_->UncertainRanges(index_number) : SqlCondition{};
  // A condition SQLite cannot take (too deep, too many values) leaves the
  // moves to the record tests alone.
  try {
    ordered_ = PrepareBound(Along(false));
    if (index_number > 0 && range_.sql.empty())
      rest_ = PrepareBound(SqlCondition{"SELECT rr_id, ", {}}
                               .Add(certain_)
                               .Add(", " + catalogue.ColumnList() + " FROM records WHERE ")
                               .Add(filter_));
  } catch (const EngineError&) {
    return Fail();
  }
}

SqlCondition CandidateWalk::Along(bool back) const {
  return SqlCondition{"SELECT rr_id, ", {}}
      .Add(certain_)
      .Add(", " + catalogue_->ColumnList() + catalogue_->From(index_number_) + " WHERE ")
      .Add(filter_)
      .Add(" ORDER BY " + catalogue_->OrderBy(index_number_, back));
}

void CandidateWalk::Restart() {
  for (sqlite3_stmt* statement : {ordered_, reversed_, rest_}) {
    if (statement) sqlite3_reset(statement);
  }
  found_.clear();
  rows_.Clear();
  complete_ = false;
  back_ = false;
  row_held_ = false;
}

void CandidateWalk::Suspend() {
  if (!complete_) return Restart();
  row_held_ = false;
}

void CandidateWalk::Fail() {
  failed_ = true;
  Restart();
}

bool CandidateWalk::Step(const PositionOf& position_of, bool from_end) {
  if (complete_ || !On()) return false;
  if (rest_ && found_.size() >= kWalkedAlong) return FindRest(position_of);
  row_held_ = false;
  sqlite3_stmt* walking = Walking();
  try {
    while (engine::Step(db_, walking)) {
      const size_t p = position_of(sqlite3_column_int(walking, 0), from_end && found_.empty());
      if (p == IdSequence::kNotFound) continue;  // not in this order
      // SQLite sorts by the same terms as the order; anything else means
      // they disagree, and the record tests alone decide.
      if (!found_.empty() && (back_ ? p >= found_.front().position : p <= found_.back().position)) {
        Fail();
        return false;
      }
      const Found found{p, sqlite3_column_int(walking, 1) != 0};
      back_ ? found_.push_front(found) : found_.push_back(found);
      row_held_ = true;
      return true;
    }
  } catch (const EngineError&) {
    Fail();
    return false;
  }
  sqlite3_reset(walking);
  complete_ = true;
  return false;
}

bool CandidateWalk::FindRest(const PositionOf& position_of) {
  row_held_ = false;
  sqlite3_reset(Walking());
  const size_t first = found_.front().position, last = found_.back().position;
  std::vector<Found> rest;
  try {
    MapForScans(db_);
    // Those beyond the last one found: the walk has found all this side of it.
    while (engine::Step(db_, rest_)) {
      const size_t p = position_of(sqlite3_column_int(rest_, 0), false);
      if (p == IdSequence::kNotFound || (back_ ? p >= first : p <= last)) continue;
      DecodeRecord(*catalogue_, rest_, 2, scratch_.data());
      rest.push_back({p, sqlite3_column_int(rest_, 1) != 0, rows_.Add(*catalogue_, scratch_.data())});
    }
  } catch (const EngineError&) {
    Fail();
    return false;
  }
  sqlite3_reset(rest_);
  std::ranges::sort(rest, {}, &Found::position);
  found_.insert(back_ ? found_.begin() : found_.end(), rest.begin(), rest.end());
  complete_ = true;
  return !rest.empty();
}

size_t CandidateWalk::FoundFrom(size_t position) const {
  // Moves go from one candidate to the next or the one before: first look
  // beside the one found last.
  const size_t n = found_.size();
  auto first_from = [&](size_t k) {
    return (k == n || found_[k].position >= position) && (k == 0 || found_[k - 1].position < position);
  };
  size_t at = std::min(hint_, n);
  if (first_from(at)) {
  } else if (at < n && first_from(at + 1)) {
    ++at;
  } else if (at > 0 && first_from(at - 1)) {
    --at;
  } else {
    at = static_cast<size_t>(std::ranges::lower_bound(found_, position, {}, [](const Found& f) { return f.position; }) -
                             found_.begin());
  }
  hint_ = at;
  return at;
}

size_t CandidateWalk::Next(size_t from, bool from_start, const PositionOf& position_of) {
  // A walk from the start along a narrowed index steps along it again:
  // SQLite then gives each record as it finds it, which costs less than
  // reading each one by its identity.
  if (from_start && complete_ && !rest_ && !row_held_) Restart();
  for (;;) {
    const size_t at = FoundFrom(from);
    if (at == found_.size()) {
      // Going back, the walk began with the last candidate of all.
      if (back_) return IdSequence::kNotFound;
    } else if (!back_ || at > 0 || complete_) {
      return found_[at].position;
    }
    if (!Step(position_of, from_start) && !(back_ && complete_)) return IdSequence::kNotFound;
  }
}

size_t CandidateWalk::Prior(size_t end, bool from_end, const PositionOf& position_of) {
  if (from_end) {
    end = IdSequence::kNotFound;  // beyond every position, those anchored on anew too
    // Back from the end along the index: its last candidate is found as
    // fast as its first.
    if (found_.empty() && !complete_ && On()) {
      try {
        if (!reversed_) reversed_ = PrepareBound(Along(true));
      } catch (const EngineError&) {
        Fail();
        return IdSequence::kNotFound;
      }
      back_ = true;
    }
  }
  if (back_) {
    for (;;) {
      const size_t at = FoundFrom(end);
      if (at > 0) return found_[at - 1].position;
      if (!Step(position_of, from_end)) return IdSequence::kNotFound;
    }
  }
  while ((found_.empty() || found_.back().position < end) && Step(position_of, false)) {
  }
  if (!On()) return IdSequence::kNotFound;
  const size_t at = FoundFrom(end);
  return at == 0 ? IdSequence::kNotFound : found_[at - 1].position;
}

bool CandidateWalk::Certain(size_t position) const {
  const size_t at = FoundFrom(position);
  return at < found_.size() && found_[at].position == position && found_[at].certain;
}

bool CandidateWalk::ReadAt(size_t position, uint8_t* buffer) const {
  if (row_held_ && FoundLast().position == position) {
    DecodeRecord(*catalogue_, Walking(), 2, buffer);
    return true;
  }
  const size_t at = FoundFrom(position);
  if (at == found_.size() || found_[at].position != position || found_[at].kept == PackedRecords::kNone) return false;
  rows_.Read(*catalogue_, found_[at].kept, buffer);
  // The scan kept the records in its own order: the next one the walk
  // reads lies elsewhere, and is fetched while the walk goes on.
  if (at + 1 < found_.size() && found_[at + 1].kept != PackedRecords::kNone) rows_.Prefetch(found_[at + 1].kept);
  return true;
}

sqlite3_stmt* CandidateWalk::Counting(sqlite3_stmt*& statement, const std::function<SqlCondition()>& query) {
  if (!statement) statement = PrepareBound(query());
  return statement;
}

void CandidateWalk::CountRows(sqlite3_stmt* rows, const std::function<void(sqlite3_stmt*)>& take) {
  struct Reset {
    sqlite3_stmt* rows;
    ~Reset() { sqlite3_reset(rows); }
  } reset{rows};
  while (engine::Step(db_, rows)) take(rows);
}

// Both counts walk their index alone, without reading a text.
int32_t CandidateWalk::CountBesideOddLeads() {
  sqlite3_stmt* counts = Counting(counting_certain_, [&] {
    const Index& index = catalogue_->indexes[static_cast<size_t>(index_number_) - 1];
    return SqlCondition{"SELECT (SELECT count(*)" + catalogue_->From(index_number_) + " WHERE ", {}}
        .Add(range_)
        .Add(") - (SELECT count(*) FROM records INDEXED BY " + Catalogue::OddLeadsName(index_number_) + " WHERE ")
        .Add(range_)
        .Add(" AND " + catalogue_->OddLeadsCondition(index) + ")");
  });
  int32_t count = 0;
  CountRows(counts, [&](sqlite3_stmt* row) { count = sqlite3_column_int(row, 0); });
  return count;
}

int32_t CandidateWalk::Count(const Accept& accept, bool certain_pass, uint8_t* buffer) {
  if (!On()) return -1;
  const std::string columns = catalogue_->ColumnList() + " FROM records WHERE ";
  try {
    MapForScans(db_);
    if (!certain_pass) {
      sqlite3_stmt* candidates = Counting(counting_, [&] {
        return SqlCondition{"SELECT ", {}}.Add(certain_).Add(", " + columns).Add(filter_);
      });
      int32_t count = 0;
      CountRows(candidates, [&](sqlite3_stmt* row) {
        DecodeRecord(*catalogue_, row, 1, buffer);
        count += accept(buffer, sqlite3_column_int(row, 0) != 0) ? 1 : 0;
      });
      return count;
    }
    // SQLite counts the candidates, and the certain ones among them unless
    // it finds those that are not along the index; those not certain are
    // read and tested.
    const bool exact = condition_->Exact(), ranges = !uncertain_.sql.empty();
    if (exact && index_number_ > 0 && catalogue_->indexes[static_cast<size_t>(index_number_) - 1].odd_leads) {
      if (!beside_odd_leads_) beside_odd_leads_ = condition_->ExactBesideOddLeads(index_number_);
      if (*beside_odd_leads_) return CountBesideOddLeads();
    }
    sqlite3_stmt* counts = Counting(counting_certain_, [&] {
      SqlCondition query{"SELECT count(*), ", {}};
      if (exact || ranges)
        query.Add("0");
      else
        query.Add("coalesce(sum(").Add(certain_).Add("), 0)");
      return query.Add(" FROM records WHERE ").Add(filter_);
    });
    int32_t all = 0, certain = 0;
    CountRows(counts, [&](sqlite3_stmt* row) {
      all = sqlite3_column_int(row, 0);
      certain = sqlite3_column_int(row, 1);
    });
    if (exact || (!ranges && certain == all)) return all;
    sqlite3_stmt* uncertain = Counting(counting_uncertain_, [&] {
      SqlCondition query{"SELECT " + columns, {}};
      if (ranges) return query.Add(uncertain_);
      return query.Add(filter_).Add(" AND NOT ").Add(certain_);
    });
    int32_t seen = 0, count = 0;
    CountRows(uncertain, [&](sqlite3_stmt* row) {
      DecodeRecord(*catalogue_, row, 0, buffer);
      ++seen;
      count += accept(buffer, false) ? 1 : 0;
    });
    count += ranges ? all - seen : certain;
    return count;
  } catch (const EngineError&) {
    Fail();
    return -1;
  }
}

}  // namespace vesk::engine
