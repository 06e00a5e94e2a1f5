#include "engine/table_order.h"

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
