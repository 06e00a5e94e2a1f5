// The block list of cursor identities against a plain vector.
#include "engine/id_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vesk::engine {
namespace {

TEST(IdSequence, InsertEraseAndPrependAgreeWithAPlainVector) {
  IdSequence ids;
  std::vector<int32_t> model;
  for (int32_t id = 1; id <= 10000; ++id) {
    ids.Append(id * 2);
    model.push_back(id * 2);
  }
  std::mt19937 random(7);
  for (int step = 0; step < 20000; ++step) {
    const unsigned kind = random() % 5;
    if (kind == 0) {
      // What a walk back loads: a run of identities before the first.
      std::vector<int32_t> front(1 + random() % 40);
      for (size_t i = 0; i < front.size(); ++i) front[i] = -static_cast<int32_t>(step * 8192 + i);
      ids.Prepend(front);
      model.insert(model.begin(), front.begin(), front.end());
    } else if (kind % 2 == 1 || model.empty()) {
      size_t at = random() % (model.size() + 1);
      int32_t id = 100000 + step;
      ids.Insert(at, id);
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), id);
    } else {
      size_t at = random() % model.size();
      ids.Erase(at);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    }
  }
  ASSERT_EQ(ids.Size(), model.size());
  for (size_t p = 0; p < model.size(); ++p) ASSERT_EQ(ids.At(p), model[p]) << p;
  std::vector<int32_t> walked;
  ids.ForEach([&](size_t p, int32_t id) {
    EXPECT_EQ(p, walked.size());
    walked.push_back(id);
  });
  EXPECT_EQ(walked, model);
  for (size_t erased = 0; erased < model.size(); ++erased) {
    if (erased % 101 == 0) {
      ASSERT_EQ(ids.At(0), model[erased]) << erased;
    }
    ids.Erase(0);
  }
  EXPECT_TRUE(ids.Empty());
}

}  // namespace
}  // namespace vesk::engine
