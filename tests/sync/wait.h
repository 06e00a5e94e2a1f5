// The sync tests' wait for one asynchronous step: its result, or a failure
// of the test when none came within 30 seconds.
#pragma once

#include <gtest/gtest.h>

#include "sync/awaited.h"

namespace vesk {

template <class Result, class Start>
Result Wait(Start start) {
  std::optional<Result> result = Awaited<Result>(start, 30000);
  EXPECT_TRUE(result.has_value()) << "no answer within 30 s";
  return result.value_or(Result{});
}

}  // namespace vesk
