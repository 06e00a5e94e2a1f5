// Record marks: numbers handed out for record identities, valid until freed.
// Whether a mark's record is still stored is for the table to say.
#ifndef VESK_ENGINE_MARKS_H
#define VESK_ENGINE_MARKS_H

#include <cstdint>
#include <unordered_map>

namespace vesk::engine {

class Marks {
 public:
  // A new mark for identity; throws EngineError when identity names no
  // record or the marks are used up.
  int32_t Create(int32_t identity);
  void Free(int32_t mark);  // throws for an unknown mark
  int32_t Identity(int32_t mark) const;  // throws for an unknown mark

 private:
  std::unordered_map<int32_t, int32_t> identities_;  // mark -> identity
  int32_t next_ = 1;
};

}  // namespace vesk::engine

#endif
