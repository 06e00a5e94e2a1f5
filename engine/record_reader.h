// Reads records of the cursor's order from SQLite. One stepping statement
// runs along the current order and serves each read whose identity is the
// next one it yields, so a scan costs one step per record; reads after
// jumps re-seek it (identity order) or look the record up by identity,
// all in one read of the file until Reset. Reads one after the other map
// the file for the scan they make (see MapForScans).
#ifndef VESK_ENGINE_RECORD_READER_H
#define VESK_ENGINE_RECORD_READER_H

#include <sqlite3.h>

#include <cstdint>

#include "engine/catalogue.h"
#include "engine/id_sequence.h"
#include "engine/sql.h"

namespace vesk::engine {

class RecordReader {
 public:
  // Prepares the statements for the order of index number (0: identity).
  void Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number);
  // The record of identity at position into buffer (first: the order's
  // first position); throws EngineError when it is no longer stored.
  void ReadAt(int32_t identity, size_t position, bool first, uint8_t* buffer);
  // The identity after the one read at position - 1 (first: the order's
  // first one), stepping on to its row, so that a scan walks the order once
  // for identities and records; 0 when the stepping statement does not
  // stand there or has no more.
  int32_t StepOnto(size_t position, bool first);
  // The record of identity into buffer; false when none is stored.
  bool ReadId(int32_t identity, uint8_t* buffer);
  // Ends the stepping statement's read, before writes and after scans.
  void Reset();

 private:
  bool StepTo(int32_t identity);

  sqlite3* db_ = nullptr;
  const Catalogue* catalogue_ = nullptr;
  bool identity_order_ = true;
  Statement stepper_;
  Statement by_id_;
  // Held on its row between lookups by identity, so that they share one
  // read of the file instead of locking it each.
  Statement anchor_;
  bool anchored_ = false;
  size_t step_position_ = IdSequence::kNotFound;  // position of the row stepper_ holds
  int32_t steps_ = 0;                             // records stepped to one after the other
};

}  // namespace vesk::engine

#endif
