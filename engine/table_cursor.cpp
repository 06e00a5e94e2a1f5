// Cursor moves over the current order: to the ends and neighbours, to a
// record number, a mark or a key, and the count of records passing the tests;
// and the marks themselves.
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "engine/engine_error.h"
#include "engine/table.h"

namespace vesk::engine {

namespace {
[[noreturn]] void UnknownMark(int32_t mark) { throw EngineError("Mark " + std::to_string(mark) + " does not exist"); }
}  // namespace

int32_t Marks::Create(int32_t identity) {
  if (identity <= 0) throw EngineError("Identity " + std::to_string(identity) + " names no record");
  if (next_ == INT32_MAX) throw EngineError("No marks left");
  identities_[next_] = identity;
  return next_++;
}

void Marks::Free(int32_t mark) {
  if (identities_.erase(mark) == 0) UnknownMark(mark);
}

int32_t Marks::Identity(int32_t mark) const {
  auto found = identities_.find(mark);
  if (found == identities_.end()) UnknownMark(mark);
  return found->second;
}

void Table::SetCandidates(const rr_candidate_term* terms, int32_t count, const rr_candidate_term* certain,
                          int32_t certain_count) {
  tests_.RequireIdle();
  order_.SetCandidates(nullptr);
  if (count != 0)
    order_.SetCandidates(std::make_shared<const CandidateCondition>(catalogue_, terms, count, certain, certain_count));
}

bool Table::CandidateAccepted(size_t position) {
  const bool certain = order_.CandidateCertain(position);
  if (certain && tests_.CertainPasses()) return true;
  order_.ReadAt(position, candidate_.data());
  return tests_.Accept(candidate_.data(), certain);
}

size_t Table::SeekCandidate(size_t from, int direction) {
  size_t p = direction > 0 ? order_.NextCandidate(from) : order_.PriorCandidate(from + 1);
  while (p != IdSequence::kNotFound) {
    if (CandidateAccepted(p)) return p;
    p = direction > 0 ? order_.NextCandidate(p + 1) : order_.PriorCandidate(p);
  }
  return IdSequence::kNotFound;
}

size_t Table::Seek(size_t from, int direction) {
  if (tests_.Active() && order_.CandidatesOn()) {
    size_t p = SeekCandidate(from, direction);
    if (p != IdSequence::kNotFound) return p;
    // Candidates that could not be told leave the walk to the tests.
    if (order_.CandidatesOn()) {
      order_.EndRead();
      return p;
    }
  }
  for (size_t p = from; order_.Has(p); p += static_cast<size_t>(direction)) {
    if (AcceptedAt(p)) return p;
  }
  order_.EndRead();
  return IdSequence::kNotFound;
}

void Table::StandOnFound(size_t position) {
  position == IdSequence::kNotFound ? cursor_.StandNowhere() : cursor_.StandOn(position);
}

void Table::StandNear(size_t position) {
  size_t p = Seek(position, +1);
  if (p == IdSequence::kNotFound) p = Seek(position - 1, -1);
  StandOnFound(p);
}

void Table::First() {
  tests_.RequireIdle();
  FollowWriter();
  order_.AnchorAtStart();
  StandNear(order_.Begin());
}

void Table::Last() {
  tests_.RequireIdle();
  FollowWriter();
  order_.AnchorAtEnd();
  StandOnFound(Seek(order_.End() - 1, -1));
}

void Table::Next() {
  tests_.RequireIdle();
  FollowWriter();
  size_t from = cursor_.NextStart();
  size_t p = cursor_.NoCurrent() ? IdSequence::kNotFound : Seek(from, +1);
  if (p != IdSequence::kNotFound) return cursor_.StandOn(p);
  cursor_.RanOff(true);
}

void Table::Prior() {
  tests_.RequireIdle();
  FollowWriter();
  size_t from = cursor_.PriorEnd();
  size_t p = cursor_.NoCurrent() ? IdSequence::kNotFound : Seek(from - 1, -1);
  if (p != IdSequence::kNotFound) return cursor_.StandOn(p);
  cursor_.RanOff(false);
}

void Table::GotoRecNo(int32_t number) {
  tests_.RequireIdle();
  FollowWriter();
  if (number < 1 || number > order_.Count())
    throw EngineError("Record number " + std::to_string(number) + " out of range");
  cursor_.StandOn(order_.PositionOfNumber(number - 1));
}

int32_t Table::RecNo() { return cursor_.NoCurrent() ? 0 : static_cast<int32_t>(order_.Number(cursor_.Position()) + 1); }

int32_t Table::RecordCount() {
  tests_.RequireIdle();
  FollowWriter();
  if (!tests_.Active()) return static_cast<int32_t>(order_.Count());
  if (order_.CandidatesOn()) {
    int32_t counted = order_.CountCandidates(
        [this](const uint8_t* record, bool certain) { return tests_.Accept(record, certain); }, tests_.CertainPasses());
    if (counted >= 0) return counted;
  }
  return order_.CountAccepted([this](const uint8_t* record) { return tests_.Accept(record); });
}

int32_t Table::CurrentId() const { return order_.IdAt(cursor_.Current()); }

bool Table::MarkNamesRecord(int32_t mark) { return editor_.RecordStored(marks_.Identity(mark)); }

bool Table::GotoMark(int32_t mark) {
  tests_.RequireIdle();
  FollowWriter();
  if (!MarkNamesRecord(mark)) return false;
  cursor_.StandOn(order_.AnchorOn(marks_.Identity(mark)));
  return true;
}

bool Table::Search(const std::vector<int32_t>& fields, uint8_t* key, int32_t index, int32_t partial_length,
                   bool case_insensitive, bool move) {
  tests_.RequireIdle();
  FollowWriter();
  if (fields.empty()) throw EngineError("A search needs at least one key field");
  for (int32_t f : fields) {
    if (catalogue_.FieldAt(f).IsBlob())
      throw EngineError("Blob field " + catalogue_.FieldAt(f).name + " cannot be a key");
  }
  if (index > static_cast<int32_t>(catalogue_.indexes.size()))
    throw EngineError("Index number " + std::to_string(index) + " out of range");
  int32_t prefix_chars = partial_length > 0 ? partial_length : 0;
  int32_t identity = 0;
  if (!search_.Find(fields, key, index, prefix_chars, case_insensitive, &identity)) return false;
  if (!move) {
    std::memcpy(key, candidate_.data(), candidate_.size());
    return true;
  }
  cursor_.StandOn(order_.AnchorOn(identity));
  return true;
}

}  // namespace vesk::engine
