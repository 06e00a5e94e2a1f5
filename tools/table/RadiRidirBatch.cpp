#include "tools/table/RadiRidirBatch.h"

#include "tools/table/RadiRidirEngine.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {

TRadiRidirBatch::TRadiRidirBatch(TRadiRidir& table) : table_(table) {
  const int32_t h = TRadiRidirEngine::Handle(table_);
  if (!rr_batch_begin(h)) throw EngineError(h);
}

TRadiRidirBatch::~TRadiRidirBatch() {
  if (!committed_) rr_batch_rollback(TRadiRidirEngine::Handle(table_));
}

void TRadiRidirBatch::Commit() {
  const int32_t h = TRadiRidirEngine::Handle(table_);
  if (!rr_batch_commit(h)) throw EngineError(h);
  committed_ = true;
}

}  // namespace vesk
