#include "engine/cursor_position.h"

#include "engine/engine_error.h"

namespace vesk::engine {

size_t CursorPosition::Current() const {
  if (NoCurrent()) throw EngineError("No current record");
  return position_;
}

void CursorPosition::StandOn(size_t position) {
  position_ = position;
  gap_.reset();
  bof_ = eof_ = false;
  found_ = true;
}

void CursorPosition::StandNowhere() {
  position_ = IdSequence::kNotFound;
  gap_.reset();
  bof_ = eof_ = true;
  found_ = false;
}

void CursorPosition::RanOff(bool forward) {
  (forward ? eof_ : bof_) = true;
  found_ = false;
}

void CursorPosition::Moved(size_t position) { position_ = position; }

void CursorPosition::StandInGap(size_t position, size_t gap) {
  position_ = position;
  gap_ = gap;
}

size_t CursorPosition::NextStart() {
  size_t start = gap_ ? *gap_ : position_ + 1;
  gap_.reset();
  return start;
}

size_t CursorPosition::PriorEnd() {
  size_t end = gap_ ? *gap_ : position_;
  gap_.reset();
  return end;
}

}  // namespace vesk::engine
