#include "engine/record_reader.h"

#include "engine/engine_error.h"
#include "engine/order_bound.h"
#include "engine/record_codec.h"
#include "engine/scan_mapping.h"

namespace vesk::engine {

namespace {
// Records read one after the other before the reads count as a scan.
constexpr int32_t kScanSteps = 64;
}  // namespace

void RecordReader::Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number) {
  db_ = db;
  catalogue_ = &catalogue;
  identity_order_ = index_number == 0;
  stepper_ = engine::Prepare(db, "SELECT rr_id, " + catalogue.ColumnList() + catalogue.From(index_number) +
                                     (identity_order_ ? " WHERE rr_id >= ?1" : "") + " ORDER BY " +
                                     catalogue.OrderBy(index_number));
  // Reads by identity come after jumps, which a first record needs none of.
  by_id_.reset();
  anchor_.reset();
  anchored_ = false;
  step_position_ = IdSequence::kNotFound;
}

void RecordReader::Reset() {
  if (stepper_) sqlite3_reset(stepper_.get());
  if (anchor_) sqlite3_reset(anchor_.get());
  anchored_ = false;
  step_position_ = IdSequence::kNotFound;
  steps_ = 0;
}

bool RecordReader::StepTo(int32_t identity) {
  step_position_ = IdSequence::kNotFound;
  if (Step(db_, stepper_.get()) && sqlite3_column_int(stepper_.get(), 0) == identity) return true;
  Reset();
  return false;
}

void RecordReader::ReadAt(int32_t identity, size_t position, bool first, uint8_t* buffer) {
  bool held = step_position_ != IdSequence::kNotFound;
  if (held && step_position_ == position && sqlite3_column_int(stepper_.get(), 0) == identity) {
    DecodeRecord(*catalogue_, stepper_.get(), 1, buffer);
    return;
  }
  if (held && step_position_ + 1 == position && StepTo(identity)) {
    step_position_ = position;
    if (++steps_ == kScanSteps) MapForScans(db_);
    DecodeRecord(*catalogue_, stepper_.get(), 1, buffer);
    return;
  }
  if (identity_order_ || first) {
    Reset();
    if (identity_order_) sqlite3_bind_int(stepper_.get(), 1, identity);
    if (StepTo(identity)) {
      step_position_ = position;
      DecodeRecord(*catalogue_, stepper_.get(), 1, buffer);
      return;
    }
  }
  if (!ReadId(identity, buffer)) throw EngineError("Record " + std::to_string(identity) + " no longer exists");
}

int32_t RecordReader::StepOnto(size_t position, bool first) {
  if (first) {
    Reset();
    if (identity_order_) sqlite3_bind_int64(stepper_.get(), 1, INT64_MIN);
  } else if (step_position_ == IdSequence::kNotFound || step_position_ + 1 != position) {
    return 0;
  }
  do {
    if (!Step(db_, stepper_.get())) {
      Reset();
      return 0;
    }
  } while (IsNoIdentity(sqlite3_column_int64(stepper_.get(), 0)));
  step_position_ = position;
  if (++steps_ == kScanSteps) MapForScans(db_);
  return sqlite3_column_int(stepper_.get(), 0);
}

bool RecordReader::ReadId(int32_t identity, uint8_t* buffer) {
  if (!by_id_) {
    by_id_ = engine::Prepare(db_, "SELECT rr_id, " + catalogue_->ColumnList() + " FROM records WHERE rr_id = ?1");
    anchor_ = engine::Prepare(db_, "SELECT 1 FROM sqlite_schema");
  }
  if (!anchored_) anchored_ = Step(db_, anchor_.get());
  sqlite3_stmt* stmt = by_id_.get();
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, identity);
  bool found = Step(db_, stmt);
  if (found) DecodeRecord(*catalogue_, stmt, 1, buffer);
  sqlite3_reset(stmt);
  return found;
}

}  // namespace vesk::engine
