#include "engine/table_order.h"

#include <cstring>

#include "engine/engine_error.h"
#include "engine/record_codec.h"
#include "engine/sql.h"

namespace vesk::engine {

void TableOrder::Load(sqlite3* db, int32_t index_number) {
  index_ = index_number;
  reader_.Reset();
  ids_.Clear();
  Statement order = Prepare(db, "SELECT rr_id" + catalogue_.From(index_) + " ORDER BY " + catalogue_.OrderBy(index_));
  while (Step(db, order.get())) ids_.Append(sqlite3_column_int(order.get(), 0));
  reader_.Prepare(db, catalogue_, index_);
  probe_.assign(static_cast<size_t>(catalogue_.RecordSize()), 0);
  db_ = db;
  positions_valid_ = false;
  held_position_ = IdSequence::kNotFound;
  held_.assign(probe_.size(), 0);
  candidates_.Prepare(db, catalogue_, index_);
}

void TableOrder::ReadAt(size_t position, uint8_t* buffer) {
  if (position != held_position_) {
    held_position_ = IdSequence::kNotFound;
    if (!candidates_.ReadAt(position, held_.data())) reader_.ReadAt(ids_, position, held_.data());
    held_position_ = position;
  }
  std::memcpy(buffer, held_.data(), held_.size());
}

void TableOrder::SetCandidates(std::shared_ptr<const CandidateCondition> condition) {
  candidates_.Set(std::move(condition));
  if (db_) candidates_.Prepare(db_, catalogue_, index_);
}

void TableOrder::Changed() {
  positions_valid_ = false;
  held_position_ = IdSequence::kNotFound;
  candidates_.Restart();
}

size_t TableOrder::PositionOf(int32_t identity) {
  if (!positions_valid_) {
    positions_.clear();
    ids_.ForEach([this](size_t position, int32_t id) {
      if (id < 0) return;
      if (static_cast<size_t>(id) >= positions_.size()) positions_.resize(static_cast<size_t>(id) + 1, UINT32_MAX);
      positions_[static_cast<size_t>(id)] = static_cast<uint32_t>(position);
    });
    positions_valid_ = true;
  }
  if (identity < 0 || static_cast<size_t>(identity) >= positions_.size() ||
      positions_[static_cast<size_t>(identity)] == UINT32_MAX)
    return IdSequence::kNotFound;
  return positions_[static_cast<size_t>(identity)];
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

size_t TableOrder::PlaceOf(const uint8_t* record, int32_t identity) {
  size_t low = 0, high = ids_.Size();
  if (index_ == 0) return high;  // new identities are the highest
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    int32_t probe_id = ids_.At(middle);
    if (!reader_.ReadId(probe_id, probe_.data()))
      throw EngineError("Record " + std::to_string(probe_id) + " no longer exists");
    if (InStoredOrder(probe_.data(), probe_id, record, identity))
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

}  // namespace vesk::engine
