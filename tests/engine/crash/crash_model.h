// What the crash test's table must hold: every record whose store returned,
// byte for byte, while the one operation in flight at the kill may have
// happened or not.
#ifndef VESK_TESTS_ENGINE_CRASH_CRASH_MODEL_H
#define VESK_TESTS_ENGINE_CRASH_CRASH_MODEL_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/engine/crash/crash_pipe.h"

namespace vesk::crash {

class CrashModel {
 public:
  // Follows the writer's report; empty when the message fits what came
  // before, else what is wrong.
  std::string Take(const Message& message);

  // Compares the records found after a kill (identity -> encoded content)
  // with the model; each problem is one text. Without problems the model
  // takes the found records as the new state.
  std::vector<std::string> Reconcile(const std::map<int32_t, std::string>& stored);

  bool InFlight() const { return pending_.has_value(); }
  size_t RecordCount() const { return records_.size(); }
  // Operations that returned, over all messages taken.
  int64_t ReturnedCount() const { return returned_; }

 private:
  std::map<int32_t, std::string> records_;
  std::optional<Message> pending_;
  int32_t highest_identity_ = 0;
  int64_t returned_ = 0;
};

}  // namespace vesk::crash

#endif
