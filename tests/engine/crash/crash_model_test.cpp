// The crash test's model must fail on every kind of damage, or the crash
// test would pass over a broken engine.

#include <gtest/gtest.h>

#include "tests/engine/crash/crash_model.h"

namespace vesk::crash {
namespace {

Message Announce(MessageKind kind, int32_t identity, std::string content = {}) { return {kind, identity, content}; }
Message Returned(int32_t identity) { return {MessageKind::kReturned, identity, {}}; }

// A model holding record 1 "a" and record 2 "b".
CrashModel TwoRecords() {
  CrashModel model;
  EXPECT_EQ(model.Take(Announce(MessageKind::kStoreNew, 0, "a")), "");
  EXPECT_EQ(model.Take(Returned(1)), "");
  EXPECT_EQ(model.Take(Announce(MessageKind::kStoreNew, 0, "b")), "");
  EXPECT_EQ(model.Take(Returned(2)), "");
  return model;
}

TEST(CrashModel, ReturnedStoresMustBeThereUnchanged) {
  EXPECT_TRUE(TwoRecords().Reconcile({{1, "a"}, {2, "b"}}).empty());
  EXPECT_EQ(TwoRecords().Reconcile({{1, "a"}}), std::vector<std::string>{"record 2 is lost"});
  const std::vector<std::string> changed = TwoRecords().Reconcile({{1, "a"}, {2, "c"}});
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].rfind("record 2 differs", 0), 0u);
  EXPECT_EQ(TwoRecords().Reconcile({{1, "a"}, {2, "b"}, {3, "x"}}),
            std::vector<std::string>{"record 3 is there without a store"});
}

TEST(CrashModel, OperationInFlightMayOrMayNotHaveHappened) {
  for (const char* stored : {"b", "new"}) {
    CrashModel model = TwoRecords();
    ASSERT_EQ(model.Take(Announce(MessageKind::kStoreOver, 2, "new")), "");
    EXPECT_TRUE(model.InFlight());
    EXPECT_TRUE(model.Reconcile({{1, "a"}, {2, stored}}).empty()) << stored;
    EXPECT_FALSE(model.InFlight());
  }
  CrashModel torn = TwoRecords();
  ASSERT_EQ(torn.Take(Announce(MessageKind::kStoreOver, 2, "new")), "");
  EXPECT_EQ(torn.Reconcile({{1, "a"}, {2, "ne"}}).size(), 1u);

  CrashModel deleting = TwoRecords();
  ASSERT_EQ(deleting.Take(Announce(MessageKind::kDelete, 2)), "");
  EXPECT_TRUE(deleting.Reconcile({{1, "a"}}).empty());
  EXPECT_EQ(deleting.RecordCount(), 1u);

  CrashModel adding = TwoRecords();
  ASSERT_EQ(adding.Take(Announce(MessageKind::kStoreNew, 0, "c")), "");
  EXPECT_EQ(adding.Reconcile({{1, "a"}, {2, "b"}, {3, "c"}, {4, "c"}}).size(), 1u);
  EXPECT_EQ(adding.Reconcile({{1, "a"}, {2, "b"}, {3, "d"}}).size(), 1u);
  EXPECT_TRUE(adding.Reconcile({{1, "a"}, {2, "b"}, {3, "c"}}).empty());
  // The record stored unreported took identity 3: it may not come again.
  ASSERT_EQ(adding.Take(Announce(MessageKind::kStoreNew, 0, "d")), "");
  EXPECT_NE(adding.Take(Returned(3)), "");
}

TEST(CrashModel, FailedReconcileKeepsTheModel) {
  CrashModel model = TwoRecords();
  EXPECT_FALSE(model.Reconcile({{1, "a"}}).empty());
  EXPECT_TRUE(model.Reconcile({{1, "a"}, {2, "b"}}).empty());
}

TEST(CrashModel, ReportsIdentitiesAndMessagesOutOfOrder) {
  CrashModel model = TwoRecords();
  ASSERT_EQ(model.Take(Announce(MessageKind::kDelete, 2)), "");
  ASSERT_EQ(model.Take(Returned(2)), "");
  ASSERT_EQ(model.Take(Announce(MessageKind::kStoreNew, 0, "c")), "");
  EXPECT_NE(model.Take(Returned(2)), "") << "a deleted record's identity came again";

  CrashModel other = TwoRecords();
  EXPECT_NE(other.Take(Returned(1)), "");
  EXPECT_NE(other.Take(Announce(MessageKind::kStoreOver, 7, "x")), "");
  ASSERT_EQ(other.Take(Announce(MessageKind::kDelete, 1)), "");
  EXPECT_NE(other.Take(Announce(MessageKind::kDelete, 2)), "");
  EXPECT_NE(other.Take({MessageKind::kFailed, 0, "rr_store_new: disk full"}), "");
}

}  // namespace
}  // namespace vesk::crash
