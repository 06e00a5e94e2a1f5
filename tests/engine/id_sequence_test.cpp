// The block list of cursor identities against a plain vector.
#include "engine/id_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vesk::engine {
namespace {

TEST(IdSequence, InsertEraseAndFindAgreeWithAPlainVector) {
  IdSequence ids;
  std::vector<int32_t> model;
  for (int32_t id = 1; id <= 10000; ++id) {
    ids.Append(id * 2);
    model.push_back(id * 2);
  }
  std::mt19937 random(7);
  for (int step = 0; step < 20000; ++step) {
    if (random() % 2 == 0 || model.empty()) {
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
  for (size_t p = 0; p < model.size(); p += 97) EXPECT_EQ(ids.Find(model[p], false), p);
  EXPECT_EQ(ids.Find(-5, false), IdSequence::kNotFound);
  while (!model.empty()) {
    ids.Erase(0);
    model.erase(model.begin());
  }
  EXPECT_TRUE(ids.Empty());
}

TEST(IdSequence, AscendingFindUsesOrder) {
  IdSequence ids;
  for (int32_t id = 3; id < 30000; id += 3) ids.Append(id);
  EXPECT_EQ(ids.Find(3, true), 0u);
  EXPECT_EQ(ids.Find(29997, true), ids.Size() - 1);
  EXPECT_EQ(ids.Find(12288, true), 4095u);
  EXPECT_EQ(ids.Find(4, true), IdSequence::kNotFound);
  EXPECT_EQ(ids.Find(1, true), IdSequence::kNotFound);
  EXPECT_EQ(ids.Find(40000, true), IdSequence::kNotFound);
  ids.Erase(4095);
  EXPECT_EQ(ids.Find(12291, true), 4095u);
}

}  // namespace
}  // namespace vesk::engine
