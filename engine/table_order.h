// A table's current order: the index that sorts its records (0: identity),
// the part of it the cursor knows (see OrderRun), reading records by
// position along it, where a stored or changed record goes in it, and the
// records of it that meet the candidate condition.
#ifndef VESK_ENGINE_TABLE_ORDER_H
#define VESK_ENGINE_TABLE_ORDER_H

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/candidate_walk.h"
#include "engine/catalogue.h"
#include "engine/order_run.h"
#include "engine/record_reader.h"

namespace vesk::engine {

class TableOrder {
 public:
  explicit TableOrder(const Catalogue& catalogue) : catalogue_(catalogue) {}

  // The order of index number, anchored at its start; reads nothing yet.
  void Load(sqlite3* db, int32_t index_number);
  void Reload(sqlite3* db) { Load(db, index_); }
  int32_t Index() const { return index_; }

  // Positions: see OrderRun. A record stands at position (loading towards it).
  bool Has(size_t position);
  int32_t IdAt(size_t position) const { return run_.At(position); }
  size_t Begin() const { return run_.Begin(); }
  size_t End() const { return run_.End(); }
  // Anchoring drops the positions known before.
  void AnchorAtStart();
  void AnchorAtEnd();
  // Position of the stored record identity.
  size_t AnchorOn(int32_t identity);
  // Where the record of key stood; Begin() is the first record after it.
  void AnchorAt(OrderKey key);
  bool KeyOf(int32_t identity, OrderKey* key) { return run_.KeyOf(identity, key); }
  int64_t Number(size_t position) { return run_.Number(position); }
  // Position of 0-based record number, which is below Count().
  size_t PositionOfNumber(int64_t number);
  int64_t Count() { return run_.Count(); }

  // The record at position into buffer; throws EngineError when it is no
  // longer stored.
  void ReadAt(size_t position, uint8_t* buffer);
  // Ends the reads of SQLite, before writes and after scans; the record
  // identity changing (0: none) is about to be changed or deleted.
  void EndRead(int32_t changing = 0) {
    reader_.Reset();
    candidates_.Suspend();
    run_.Pause(changing);
  }
  // The records accept takes, in any order.
  int32_t CountAccepted(const std::function<bool(const uint8_t* record)>& accept);

  // The candidate condition (none: every record) for this and later orders.
  void SetCandidates(std::shared_ptr<const CandidateCondition> condition);
  bool CandidatesOn() const { return candidates_.On(); }
  // First candidate position from `from` on / last one before `end`, or
  // kNotFound; CandidatesOn turns false when the candidates cannot be told.
  // From the start, the order is anchored on the first candidate instead
  // of loaded up to it: `from` then names the order's first position
  // either way, as every anchoring starts at the same one. From the end,
  // likewise on the last candidate.
  size_t NextCandidate(size_t from);
  size_t PriorCandidate(size_t end);
  bool CandidateCertain(size_t position) const { return candidates_.Certain(position); }
  // Candidates that accept takes (with certain_pass the certain ones
  // without a look), or -1 when they cannot be told.
  int32_t CountCandidates(const CandidateWalk::Accept& accept, bool certain_pass) {
    return candidates_.Count(accept, certain_pass, probe_.data());
  }

  // Puts the record just stored with these values and identity into the
  // order: its position. Throws EngineError when a record it compares with
  // is gone.
  size_t PlaceStored(const uint8_t* record, int32_t identity);
  void Erase(size_t position) {
    run_.Erase(position);
    Changed();
  }
  // Records were stored or deleted, or positions moved: the candidates
  // found and the record last read no longer hold.
  void Changed();

 private:
  void Anchored();
  bool InStoredOrder(const uint8_t* a, int32_t a_id, const uint8_t* b, int32_t b_id) const;

  const Catalogue& catalogue_;
  int32_t index_ = 0;
  OrderRun run_;
  RecordReader reader_;
  std::vector<uint8_t> probe_;
  sqlite3* db_ = nullptr;
  Statement all_records_;
  CandidateWalk candidates_;
  // The walk's first candidate from the start or end: its position after
  // anchoring on it.
  size_t AnchorOnFirstCandidate(int32_t identity);
  CandidateWalk::PositionOf position_of_ = [this](int32_t identity, bool first) {
    return first ? AnchorOnFirstCandidate(identity) : run_.Reach(identity);
  };
  // The record last read, as a move's test and the read after it ask for
  // the same one.
  size_t held_position_ = IdSequence::kNotFound;
  std::vector<uint8_t> held_;
};

}  // namespace vesk::engine

#endif
