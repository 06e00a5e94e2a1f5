#include "engine/order_run.h"

#include <algorithm>
#include <string>

#include "engine/engine_error.h"

namespace vesk::engine {

namespace {
// Positions are counted from far above 0, so that loading back from an
// anchor never runs out of them.
constexpr size_t kOrigin = size_t{1} << 40;
constexpr size_t kFloor = kOrigin - (size_t{1} << 31);
// A record number this close beyond the known positions is reached by
// loading towards it; farther ones are looked up in SQLite.
constexpr int64_t kNear = 4096;
// Orders of at most this many records are counted by loading them.
constexpr size_t kFew = 64;

OrderKey Copy(const OrderKey& key) {
  OrderKey copy;
  for (const KeptValue& value : key.values) copy.values.emplace_back(sqlite3_value_dup(value.get()));
  copy.identity = key.identity;
  return copy;
}
}  // namespace

void OrderRun::Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number) {
  Reset(kOrigin);
  ranges_.Prepare(db, catalogue, index_number);
  count_.reset();
  AnchorAtStart();
}

void OrderRun::Reset(size_t origin) {
  for (Loader* loader : {&forward_, &back_}) {
    if (loader->stmt) sqlite3_reset(loader->stmt);
    *loader = Loader{};
  }
  ids_.Clear();
  pending_ = 0;
  ++anchorings_;
  origin_ = origin;
  at_start_ = at_end_ = false;
  start_number_.reset();
  positions_valid_ = false;
}

void OrderRun::AnchorAtStart() {
  Reset(kOrigin);
  at_start_ = true;
  start_number_ = 0;
}

void OrderRun::AnchorAtEnd() {
  Reset(kOrigin);
  at_end_ = true;
}

size_t OrderRun::AnchorOn(int32_t identity) {
  Reset(kOrigin);
  // Its key is read only when loading beyond it or counting before it.
  pending_ = identity;
  ids_.Append(identity);
  return origin_;
}

void OrderRun::KeyFor(int32_t identity, OrderKey* key) {
  if (ranges_.IdentityOnly()) {
    key->values.clear();
    key->identity = identity;
    return;
  }
  if (!KeyOf(identity, key)) throw EngineError("Record " + std::to_string(identity) + " no longer exists");
}

void OrderRun::ReadPendingKey() {
  if (pending_ == 0) return;
  OrderKey key;
  KeyFor(pending_, &key);
  pending_ = 0;
  forward_.key = Copy(key);
  back_.key = std::move(key);
}

void OrderRun::AnchorAt(OrderKey key) {
  Reset(kOrigin);
  forward_.key = Copy(key);
  back_.key = std::move(key);
}

int32_t OrderRun::Step(Loader& loader, bool forward) {
  ReadPendingKey();
  KeyFromLast(loader);
  for (;;) {
    if (!loader.stmt) {
      if (loader.range >= ranges_.RangeCount(forward)) return 0;
      loader.stmt = ranges_.Range(loader.key, forward, loader.range);
      if (!loader.stmt) {
        ++loader.range;
        continue;
      }
    }
    if (ranges_.StepRange(loader.stmt)) {
      loader.last = sqlite3_column_int(loader.stmt, 0);
      return loader.last;
    }
    loader.stmt = nullptr;
    ++loader.range;
  }
}

void OrderRun::KeyFromLast(Loader& loader) {
  if (!loader.after_last) return;
  KeyFor(loader.last, &loader.key);
  loader.after_last = false;
  loader.range = 0;
}

void OrderRun::Pause(Loader& loader, int32_t changing) {
  if (loader.stmt) sqlite3_reset(loader.stmt);
  loader.stmt = nullptr;
  if (loader.last == 0) return;
  loader.after_last = true;
  // A key about to change or go is read while it is still there.
  if (loader.last == changing) KeyFromLast(loader);
}

void OrderRun::Pause(int32_t changing) {
  if (changing != 0 && pending_ == changing) ReadPendingKey();
  Pause(forward_, changing);
  Pause(back_, changing);
}

void OrderRun::Note(size_t position, int32_t identity) {
  if (!positions_valid_ || identity < 0) return;
  const auto slot = static_cast<size_t>(identity);
  if (slot >= positions_.size()) positions_.resize(slot + 1, UINT32_MAX);
  positions_[slot] = static_cast<uint32_t>(position - kFloor);
}

bool OrderRun::LoadForward(size_t count) {
  if (at_end_) return false;
  size_t loaded = 0;
  for (; loaded < count; ++loaded) {
    const int32_t identity = Step(forward_, true);
    if (identity == 0) {
      at_end_ = true;
      break;
    }
    Note(End(), identity);
    ids_.Append(identity);
  }
  return loaded > 0;
}

bool OrderRun::LoadBack(size_t count) {
  if (at_start_) return false;
  std::vector<int32_t> loaded;
  while (loaded.size() < count) {
    const int32_t identity = Step(back_, false);
    if (identity == 0) {
      at_start_ = true;
      break;
    }
    loaded.push_back(identity);
  }
  if (loaded.empty()) return false;
  std::reverse(loaded.begin(), loaded.end());
  ids_.Prepend(loaded);
  origin_ -= loaded.size();
  if (start_number_) *start_number_ -= static_cast<int64_t>(loaded.size());
  for (size_t i = 0; i < loaded.size(); ++i) Note(origin_ + i, loaded[i]);
  if (at_start_) start_number_ = 0;
  return true;
}

void OrderRun::AppendStepped(int32_t identity) {
  // Loading forward goes on after it; its key is read only then.
  if (forward_.stmt) sqlite3_reset(forward_.stmt);
  forward_.stmt = nullptr;
  forward_.last = identity;
  forward_.after_last = true;
  Note(End(), identity);
  ids_.Append(identity);
}

size_t OrderRun::Chunk() const { return std::clamp<size_t>(ids_.Size(), 32, 4096); }

bool OrderRun::Has(size_t position) {
  if (position == IdSequence::kNotFound) return false;
  while (position >= End()) {
    // Loading forward steps on along a statement kept open: no more is
    // loaded than is asked for.
    if (!LoadForward(position - End() + 1)) return false;
  }
  while (position < Begin()) {
    if (!LoadBack(Chunk())) return false;
  }
  return true;
}

size_t OrderRun::Reach(int32_t identity) {
  if (!positions_valid_) {
    positions_.clear();
    positions_valid_ = true;
    ids_.ForEach([this](size_t offset, int32_t id) { Note(origin_ + offset, id); });
  }
  auto known = [&] {
    const auto slot = static_cast<size_t>(identity);
    return identity >= 0 && slot < positions_.size() && positions_[slot] != UINT32_MAX ? kFloor + positions_[slot]
                                                                                       : IdSequence::kNotFound;
  };
  // Which side it lies on is not known: both are loaded in turn, each
  // time as much as is known already, so that at most twice what lies
  // between is loaded.
  size_t position = known();
  while (position == IdSequence::kNotFound) {
    const bool forward = LoadForward(Chunk());
    position = known();
    if (position != IdSequence::kNotFound) break;
    const bool back = LoadBack(Chunk());
    if (!forward && !back) break;
    position = known();
  }
  return position;
}

int64_t OrderRun::StartNumber() {
  if (!start_number_) {
    if (at_end_) {
      start_number_ = Count() - static_cast<int64_t>(ids_.Size());
    } else if (ids_.Empty()) {
      ReadPendingKey();
      start_number_ = ranges_.CountBefore(back_.key);
    } else {
      OrderKey first;
      KeyFor(At(Begin()), &first);
      start_number_ = ranges_.CountBefore(first);
    }
  }
  return *start_number_;
}

int64_t OrderRun::Number(size_t position) { return StartNumber() + static_cast<int64_t>(position - origin_); }

size_t OrderRun::PositionOfNumber(int64_t number) {
  const int64_t start = StartNumber();
  const auto size = static_cast<int64_t>(ids_.Size());
  if (number >= start - kNear && number < start + size + kNear) {
    const size_t position = origin_ + static_cast<size_t>(number - start);
    if (Has(position)) return position;
  }
  const int32_t identity = ranges_.IdentityAt(number);
  if (identity == 0) return IdSequence::kNotFound;
  const size_t position = AnchorOn(identity);
  start_number_ = number;
  return position;
}

int64_t OrderRun::Count() {
  // A table of few records is counted by walking it: the count SQLite takes
  // from a damaged file's pages may hold rows that no walk reaches.
  if (at_start_ && !at_end_ && ids_.Size() < kFew) LoadForward(kFew - ids_.Size());
  if (at_start_ && at_end_) return static_cast<int64_t>(ids_.Size());
  if (!count_) count_ = ranges_.CountAll();
  return *count_;
}

void OrderRun::Insert(size_t position, int32_t identity) {
  ids_.Insert(position - origin_, identity);
  positions_valid_ = false;
  CountAdded();
}

void OrderRun::Erase(size_t position) {
  ids_.Erase(position - origin_);
  positions_valid_ = false;
  if (count_) --*count_;
}

}  // namespace vesk::engine
