#include "engine/marks.h"

#include <climits>
#include <string>

#include "engine/engine_error.h"

namespace vesk::engine {

namespace {
[[noreturn]] void Unknown(int32_t mark) { throw EngineError("Mark " + std::to_string(mark) + " does not exist"); }
}  // namespace

int32_t Marks::Create(int32_t identity) {
  if (identity <= 0) throw EngineError("Identity " + std::to_string(identity) + " names no record");
  if (next_ == INT32_MAX) throw EngineError("No marks left");
  identities_[next_] = identity;
  return next_++;
}

void Marks::Free(int32_t mark) {
  if (identities_.erase(mark) == 0) Unknown(mark);
}

int32_t Marks::Identity(int32_t mark) const {
  auto found = identities_.find(mark);
  if (found == identities_.end()) Unknown(mark);
  return found->second;
}

}  // namespace vesk::engine
