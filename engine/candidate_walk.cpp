#include "engine/candidate_walk.h"

#include <algorithm>
#include <functional>

#include "engine/engine_error.h"
#include "engine/record_codec.h"

namespace vesk::engine {

namespace {
// Candidates found along an index the condition does not narrow before one
// scan finds the rest: enough for the first records a window shows.
constexpr size_t kWalkedAlong = 100;
}  // namespace

void CandidateWalk::Set(std::shared_ptr<const CandidateCondition> condition) {
  condition_ = std::move(condition);
  ordered_.reset();
  counting_.reset();
  rest_.reset();
  failed_ = false;
  Restart();
}

void CandidateWalk::Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number) {
  db_ = db;
  catalogue_ = &catalogue;
  ordered_.reset();
  counting_.reset();
  rest_.reset();
  failed_ = false;
  Restart();
  if (!condition_) return;
  SqlCondition range = condition_->IndexRange(index_number);
  SqlCondition where = condition_->Where();
  filter_.sql = range.sql.empty() ? where.sql : range.sql + " AND " + where.sql;
  filter_.params = std::move(range.params);
  filter_.params.insert(filter_.params.end(), where.params.begin(), where.params.end());
  const std::string select = "SELECT rr_id, " + catalogue.ColumnList();
  // A condition SQLite cannot take (too deep, too many values) leaves the
  // moves to the record tests alone.
  try {
    ordered_ = engine::Prepare(db, select + catalogue.From(index_number) + " WHERE " + filter_.sql + " ORDER BY " +
                                       catalogue.OrderBy(index_number));
    counting_ = engine::Prepare(db, select + " FROM records WHERE " + filter_.sql);
    if (index_number > 0 && range.sql.empty()) rest_ = engine::Prepare(db, "SELECT rr_id FROM records WHERE " + filter_.sql);
  } catch (const EngineError&) {
    return Fail();
  }
  for (const Statement& statement : {std::cref(ordered_), std::cref(counting_), std::cref(rest_)})
    if (statement.get()) filter_.Bind(statement.get());
}

void CandidateWalk::Restart() {
  if (ordered_) sqlite3_reset(ordered_.get());
  if (rest_) sqlite3_reset(rest_.get());
  found_.clear();
  complete_ = false;
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

bool CandidateWalk::Step(const PositionOf& position_of) {
  if (complete_ || !On()) return false;
  if (rest_ && found_.size() >= kWalkedAlong) return FindRest(position_of);
  row_held_ = false;
  try {
    while (engine::Step(db_, ordered_.get())) {
      const size_t p = position_of(sqlite3_column_int(ordered_.get(), 0));
      if (p == IdSequence::kNotFound) continue;  // not in this order
      // SQLite sorts by the same terms as the order; anything else means
      // they disagree, and the record tests alone decide.
      if (!found_.empty() && p <= found_.back()) {
        Fail();
        return false;
      }
      found_.push_back(p);
      row_held_ = true;
      return true;
    }
  } catch (const EngineError&) {
    Fail();
    return false;
  }
  sqlite3_reset(ordered_.get());
  complete_ = true;
  return false;
}

bool CandidateWalk::FindRest(const PositionOf& position_of) {
  row_held_ = false;
  sqlite3_reset(ordered_.get());
  const size_t before = found_.size();
  try {
    // Those after the last one found: the walk has found all before it.
    while (engine::Step(db_, rest_.get())) {
      const size_t p = position_of(sqlite3_column_int(rest_.get(), 0));
      if (p != IdSequence::kNotFound && p > found_[before - 1]) found_.push_back(p);
    }
  } catch (const EngineError&) {
    Fail();
    return false;
  }
  sqlite3_reset(rest_.get());
  std::sort(found_.begin() + static_cast<std::ptrdiff_t>(before), found_.end());
  complete_ = true;
  return found_.size() > before;
}

size_t CandidateWalk::Next(size_t from, const PositionOf& position_of) {
  for (;;) {
    auto at = std::lower_bound(found_.begin(), found_.end(), from);
    if (at != found_.end()) return *at;
    if (!Step(position_of)) return IdSequence::kNotFound;
  }
}

size_t CandidateWalk::Prior(size_t end, const PositionOf& position_of) {
  while ((found_.empty() || found_.back() < end) && Step(position_of)) {
  }
  if (!On()) return IdSequence::kNotFound;
  auto at = std::lower_bound(found_.begin(), found_.end(), end);
  return at == found_.begin() ? IdSequence::kNotFound : *(at - 1);
}

bool CandidateWalk::ReadAt(size_t position, uint8_t* buffer) const {
  if (!row_held_ || found_.back() != position) return false;
  DecodeRecord(*catalogue_, ordered_.get(), 1, buffer);
  return true;
}

int32_t CandidateWalk::Count(const std::function<bool(const uint8_t*)>& accept, uint8_t* buffer) {
  if (!On()) return -1;
  int32_t count = 0;
  try {
    while (engine::Step(db_, counting_.get())) {
      DecodeRecord(*catalogue_, counting_.get(), 1, buffer);
      count += accept(buffer) ? 1 : 0;
    }
  } catch (const EngineError&) {
    sqlite3_reset(counting_.get());
    Fail();
    return -1;
  }
  sqlite3_reset(counting_.get());
  return count;
}

}  // namespace vesk::engine
