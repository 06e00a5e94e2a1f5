#include "tests/engine/crash/crash_model.h"

#include <algorithm>
#include <utility>

namespace vesk::crash {
namespace {

std::string Difference(const std::string& stored, const std::string& expected) {
  const auto [at, unused] = std::mismatch(stored.begin(), stored.end(), expected.begin(), expected.end());
  return "stored " + std::to_string(stored.size()) + " bytes, expected " + std::to_string(expected.size()) +
         ", first difference at byte " + std::to_string(at - stored.begin());
}

std::string Name(int32_t identity) { return "record " + std::to_string(identity); }

}  // namespace

std::string CrashModel::Take(const Message& message) {
  switch (message.kind) {
    case MessageKind::kReady: return {};
    case MessageKind::kFailed: return "the writer failed: " + message.content;
    case MessageKind::kStoreNew:
    case MessageKind::kStoreOver:
    case MessageKind::kDelete:
      if (pending_) return "the writer announced an operation before the previous one returned";
      if (message.kind != MessageKind::kStoreNew && !records_.contains(message.identity)) {
        return "the writer was shown " + Name(message.identity) + ", which the table should not hold";
      }
      pending_ = message;
      return {};
    case MessageKind::kReturned: break;
    default: return "unknown message kind " + std::to_string(static_cast<int>(message.kind));
  }
  if (!pending_) return "a store returned that was not announced";
  const Message done = *std::exchange(pending_, std::nullopt);
  ++returned_;
  switch (done.kind) {
    case MessageKind::kStoreNew:
      if (message.identity <= highest_identity_) {
        return "the new record got identity " + std::to_string(message.identity) + ", not above " +
               std::to_string(highest_identity_) + " given before";
      }
      highest_identity_ = message.identity;
      records_[message.identity] = done.content;
      return {};
    case MessageKind::kStoreOver:
      if (message.identity != done.identity) return "store over " + Name(done.identity) + " returned another record";
      records_[done.identity] = done.content;
      return {};
    default: records_.erase(done.identity); return {};
  }
}

std::vector<std::string> CrashModel::Reconcile(const std::map<int32_t, std::string>& stored) {
  std::vector<std::string> problems;
  const bool pending_on_record = pending_ && pending_->kind != MessageKind::kStoreNew;
  for (const auto& [identity, expected] : records_) {
    const auto found = stored.find(identity);
    const bool in_flight = pending_on_record && pending_->identity == identity;
    if (found == stored.end()) {
      if (!(in_flight && pending_->kind == MessageKind::kDelete)) problems.push_back(Name(identity) + " is lost");
      continue;
    }
    if (found->second == expected) continue;
    if (in_flight && pending_->kind == MessageKind::kStoreOver && found->second == pending_->content) continue;
    problems.push_back(Name(identity) + " differs: " + Difference(found->second, expected));
  }
  int32_t highest = highest_identity_;
  bool new_record_taken = false;
  for (const auto& [identity, content] : stored) {
    if (records_.contains(identity)) continue;
    const bool announced = pending_ && pending_->kind == MessageKind::kStoreNew && content == pending_->content;
    if (announced && !new_record_taken && identity > highest_identity_) {
      new_record_taken = true;
      highest = identity;
      continue;
    }
    problems.push_back(Name(identity) + " is there without a store");
  }
  if (problems.empty()) {
    records_ = stored;
    highest_identity_ = highest;
    pending_.reset();
  }
  return problems;
}

}  // namespace vesk::crash
