// TStack: the evaluation stack of the filter, slots kept for reuse.
#include "tools/filter/expr_stack.h"

#include "toolkit/data/database_error.h"
#include "tools/filter/filter_messages.h"

namespace vesk {

void TStack::Underflow() { DatabaseError(kSExprEvalError); }

void TStack::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  top_ = 0;
}

}  // namespace vesk
