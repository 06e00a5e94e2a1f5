// TStack: the evaluation stack of the filter, slots kept for reuse.
#include "tools/filter/MTFilt.h"

#include "tools/filter/filter_messages.h"
#include "toolkit/database_error.h"

namespace vesk {

void TStack::Push(uint8_t kind, const Variant& value) {
  if (top_ == Count()) slots_.emplace_back();
  TStackNode& slot = slots_[static_cast<size_t>(top_)];
  slot.Kind = kind;
  slot.Value = value;  // assignment reuses the slot's text buffer
  ++top_;
}

const TStackNode& TStack::Pop() {
  if (top_ == 0) DatabaseError(kSExprEvalError);
  --top_;
  return slots_[static_cast<size_t>(top_)];
}

void TStack::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  top_ = 0;
}

}  // namespace vesk
