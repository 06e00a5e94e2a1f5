#include "engine/record_tests.h"

#include "engine/engine_error.h"

namespace vesk::engine {

void RecordTests::Set(rr_record_test test1, void* data1, rr_record_test test2, void* data2) {
  tests_[0] = test1;
  tests_[1] = test2;
  data_[0] = data1;
  data_[1] = data2;
}

void RecordTests::Enable(bool use1, bool use2) {
  use_[0] = use1;
  use_[1] = use2;
}

bool RecordTests::Active() const { return on_ && ((use_[0] && tests_[0]) || (use_[1] && tests_[1])); }

bool RecordTests::Accept(const uint8_t* record, bool second_certain) {
  if (!Active()) return true;
  struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
  } running(running_);
  for (int t = 0; t < (second_certain ? 1 : 2); ++t) {
    if (use_[t] && tests_[t] && !tests_[t](data_[t], record)) return false;
  }
  return true;
}

void RecordTests::RequireIdle() const {
  if (running_) throw EngineError("Not allowed inside a record test");
}

}  // namespace vesk::engine
