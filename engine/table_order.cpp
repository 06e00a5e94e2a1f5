#include "engine/table_order.h"

#include <cstring>

#include "engine/engine_error.h"
#include "engine/record_codec.h"
#include "engine/scan_mapping.h"
#include "engine/sql.h"

namespace vesk::engine {

void TableOrder::Load(sqlite3* db, int32_t index_number) {
  index_ = index_number;
  reader_.Reset();
  run_.Prepare(db, catalogue_, index_);
  reader_.Prepare(db, catalogue_, index_);
  probe_.assign(static_cast<size_t>(catalogue_.RecordSize()), 0);
  if (db != db_) all_records_.reset();
  db_ = db;
  held_position_ = IdSequence::kNotFound;
  held_.assign(probe_.size(), 0);
  candidates_.Prepare(db, catalogue_, index_);
}

bool TableOrder::Has(size_t position) {
  // The order's first record, or a scan's next one: the reader steps onto
  // it and tells its identity, instead of a second walk loading the
  // identities.
  if (position == run_.End() && !run_.AtEnd()) {
    const int32_t identity = reader_.StepOnto(position, run_.AtStart() && position == run_.Begin());
    if (identity != 0) {
      run_.AppendStepped(identity);
      return true;
    }
  }
  return run_.Has(position);
}

void TableOrder::Anchored() {
  reader_.Reset();
  Changed();
}

void TableOrder::AnchorAtStart() {
  if (run_.AtStart()) return;
  run_.AnchorAtStart();
  Anchored();
}

void TableOrder::AnchorAtEnd() {
  if (run_.AtEnd()) return;
  run_.AnchorAtEnd();
  Anchored();
}

size_t TableOrder::AnchorOn(int32_t identity) {
  const size_t position = run_.AnchorOn(identity);
  Anchored();
  return position;
}

void TableOrder::AnchorAt(OrderKey key) {
  run_.AnchorAt(std::move(key));
  Anchored();
}

size_t TableOrder::PositionOfNumber(int64_t number) {
  const uint64_t anchorings = run_.Anchorings();
  const size_t position = run_.PositionOfNumber(number);
  // Loading keeps the known positions; a lookup anchors anew.
  if (run_.Anchorings() != anchorings) Anchored();
  return position;
}

void TableOrder::ReadAt(size_t position, uint8_t* buffer) {
  if (position != held_position_) {
    held_position_ = IdSequence::kNotFound;
    if (!candidates_.ReadAt(position, held_.data()))
      reader_.ReadAt(run_.At(position), position, run_.AtStart() && position == run_.Begin(), held_.data());
    held_position_ = position;
  }
  std::memcpy(buffer, held_.data(), held_.size());
}

int32_t TableOrder::CountAccepted(const std::function<bool(const uint8_t* record)>& accept) {
  if (!all_records_) all_records_ = Prepare(db_, "SELECT " + catalogue_.ColumnList() + " FROM records");
  MapForScans(db_);
  sqlite3_stmt* stmt = all_records_.get();
  struct Reset {
    sqlite3_stmt* stmt;
    ~Reset() { sqlite3_reset(stmt); }
  } reset{stmt};
  int32_t count = 0;
  while (Step(db_, stmt)) {
    DecodeRecord(catalogue_, stmt, 0, probe_.data());
    count += accept(probe_.data()) ? 1 : 0;
  }
  return count;
}

size_t TableOrder::NextCandidate(size_t from) {
  const bool from_start = run_.AtStart() && from <= run_.Begin();
  const size_t position = candidates_.Next(from, from_start, position_of_);
  // A walk that anchored on its first candidate and then failed leaves the
  // record tests to walk from the start.
  if (from_start && !candidates_.On()) AnchorAtStart();
  return position;
}

size_t TableOrder::PriorCandidate(size_t end) {
  const bool from_end = run_.AtEnd() && end >= run_.End();
  const size_t position = candidates_.Prior(end, from_end, position_of_);
  if (from_end && !candidates_.On()) AnchorAtEnd();
  return position;
}

size_t TableOrder::AnchorOnFirstCandidate(int32_t identity) {
  // Nothing beyond it is a candidate: the walk steps on from it, and its
  // record number is counted along the index when asked, as after a seek.
  // The walk itself keeps what it found, the one being anchored on.
  reader_.Reset();
  held_position_ = IdSequence::kNotFound;
  return run_.AnchorOn(identity);
}

void TableOrder::SetCandidates(std::shared_ptr<const CandidateCondition> condition) {
  candidates_.Set(std::move(condition));
  if (db_) candidates_.Prepare(db_, catalogue_, index_);
}

void TableOrder::Changed() {
  held_position_ = IdSequence::kNotFound;
  candidates_.Restart();
}

bool TableOrder::InStoredOrder(const uint8_t* a, int32_t a_id, const uint8_t* b, int32_t b_id) const {
  if (index_ > 0) {
    const engine::Index& index = catalogue_.indexes[static_cast<size_t>(index_) - 1];
    for (int32_t f : index.fields) {
      int order = CompareField(catalogue_, f, a, b, index.case_insensitive);
      if (order != 0) return order < 0;
    }
  }
  return a_id < b_id;
}

size_t TableOrder::PlaceStored(const uint8_t* record, int32_t identity) {
  size_t low = run_.Begin(), high = run_.End();
  if (index_ == 0) low = high;  // new identities are the highest
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    int32_t probe_id = run_.At(middle);
    if (!reader_.ReadId(probe_id, probe_.data()))
      throw EngineError("Record " + std::to_string(probe_id) + " no longer exists");
    if (InStoredOrder(probe_.data(), probe_id, record, identity))
      low = middle + 1;
    else
      high = middle;
  }
  // Beyond the known positions the record's place is not known: the order
  // is anchored on it.
  if ((low == run_.Begin() && !run_.AtStart()) || (low == run_.End() && !run_.AtEnd())) {
    run_.CountAdded();
    return AnchorOn(identity);
  }
  run_.Insert(low, identity);
  Changed();
  return low;
}

}  // namespace vesk::engine
