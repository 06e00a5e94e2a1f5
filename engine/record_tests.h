// The two record tests a table's moves, counts and searches apply: which
// are set, which are enabled, whether they are on, and whether one is
// running now (calls that move the cursor are refused from inside a test).
#ifndef VESK_ENGINE_RECORD_TESTS_H
#define VESK_ENGINE_RECORD_TESTS_H

#include <cstdint>

#include "engine/radiridir.h"

namespace vesk::engine {

class RecordTests {
 public:
  void Set(rr_record_test test1, void* data1, rr_record_test test2, void* data2);
  void Enable(bool use1, bool use2);
  void TurnOn(bool on) { on_ = on; }
  // Some test is on, enabled and set.
  bool Active() const;
  // Runs the active tests on record: true when it passes them all. A record
  // certain to pass the second test is spared it.
  bool Accept(const uint8_t* record, bool second_certain = false);
  // A record certain to pass the second test passes them all: the first
  // is not in use.
  bool CertainPasses() const { return !(use_[0] && tests_[0]); }
  bool Running() const { return running_; }
  void RequireIdle() const;  // throws EngineError while a test runs

 private:
  rr_record_test tests_[2] = {nullptr, nullptr};
  void* data_[2] = {nullptr, nullptr};
  bool use_[2] = {false, false};
  bool on_ = false;
  bool running_ = false;
};

}  // namespace vesk::engine

#endif
