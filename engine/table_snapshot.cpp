// A reader's view of its table. A reader reads from one snapshot of the
// file, so its order and the records it reads always agree. At each move,
// count or blob opening it looks whether the writer has committed since,
// and if so takes a new snapshot and reloads the order, keeping the cursor
// on its record or where that record stood.
#include "engine/table.h"

namespace vesk::engine {

void Table::OpenSnapshot() {
  commits_.Start(name_);
  Exec(db_.get(), "BEGIN");
}

void Table::FollowWriter() {
  if (writable_ || tests_.Running()) return;  // a record test runs inside a move over the order
  if (!commits_.Committed()) return;
  // The key of the record stood on, read while the snapshot still holds it.
  OrderKey key;
  const bool stood = !cursor_.NoCurrent() && order_.KeyOf(order_.IdAt(cursor_.Position()), &key);
  order_.EndRead();
  Exec(db_.get(), "COMMIT; BEGIN");
  editor_.Reread();
  if (!order_.Has(order_.Begin())) return cursor_.StandNowhere();
  if (!stood) return cursor_.Moved(IdSequence::kNotFound);
  if (editor_.RecordStored(key.identity)) return cursor_.Moved(order_.AnchorOn(key.identity));
  // The record stood on is gone: the cursor stands in its gap, so that the
  // next move goes to the record that followed it or the one before it.
  order_.AnchorAt(std::move(key));
  const size_t gap = order_.Begin();
  cursor_.StandInGap(order_.Has(gap) ? gap : gap - 1, gap);
}

}  // namespace vesk::engine
