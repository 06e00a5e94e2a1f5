// A reader's view of its table. A reader reads from one snapshot of the
// file, so its order and the records it reads always agree. At each move,
// count or blob opening it looks whether the writer has committed since,
// and if so takes a new snapshot and reloads the order, keeping the cursor
// on its record or where that record stood.
#include <algorithm>

#include "engine/table.h"

namespace vesk::engine {

void Table::OpenSnapshot() {
  commits_.Start(name_);
  Exec(db_.get(), "BEGIN");
}

void Table::FollowWriter() {
  if (writable_ || tests_.Running()) return;  // a record test runs inside a move over the order
  if (!commits_.Committed()) return;
  int32_t identity = cursor_.NoCurrent() ? 0 : order_.Ids().At(cursor_.Position());
  size_t was = cursor_.Position();
  order_.EndRead();
  Exec(db_.get(), "COMMIT; BEGIN");
  editor_.Reread();
  if (order_.Ids().Empty()) return cursor_.StandNowhere();
  size_t p = identity != 0 ? order_.Find(identity) : IdSequence::kNotFound;
  if (p != IdSequence::kNotFound || was == IdSequence::kNotFound) return cursor_.Moved(p);
  // The record stood on is gone: the cursor stands in its gap, so that the
  // next move goes to the record that followed it or the one before it.
  cursor_.StandInGap(std::min(was, order_.Ids().Size() - 1), std::min(was, order_.Ids().Size()));
}

}  // namespace vesk::engine
