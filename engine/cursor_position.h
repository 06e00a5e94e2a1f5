// Where a table's cursor stands in the current order: a position or none,
// the gap a record removed by another process left, and the flags the last
// move set (off the start, off the end, found).
#ifndef VESK_ENGINE_CURSOR_POSITION_H
#define VESK_ENGINE_CURSOR_POSITION_H

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/id_sequence.h"

namespace vesk::engine {

class CursorPosition {
 public:
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool Found() const { return found_; }
  bool NoCurrent() const { return position_ == IdSequence::kNotFound; }
  size_t Position() const { return position_; }  // kNotFound without a current record
  size_t Current() const;                        // throws EngineError without a current record

  void StandOn(size_t position);
  void StandNowhere();
  // A move that found nothing: off the end going forward, else the start;
  // the position stays.
  void RanOff(bool forward);
  // The order was reloaded: the same record stands at position now (or
  // none does); the flags stay.
  void Moved(size_t position);
  // The current record is gone: the cursor stands at position, and the next
  // move continues from gap, the position of the record that followed it.
  void StandInGap(size_t position, size_t gap);

  // First position a move forward looks at, and the one after the last a
  // move back looks at; both use up the gap.
  size_t NextStart();
  size_t PriorEnd();

 private:
  size_t position_ = IdSequence::kNotFound;
  std::optional<size_t> gap_;
  bool bof_ = false;
  bool eof_ = false;
  bool found_ = false;
};

}  // namespace vesk::engine

#endif
