// A table's current order: the index that sorts its records (0: identity),
// their identities by position, reading records by position along it,
// where a stored or changed record belongs in it, and the records of it
// that meet the candidate condition.
#ifndef VESK_ENGINE_TABLE_ORDER_H
#define VESK_ENGINE_TABLE_ORDER_H

#include <sqlite3.h>

#include <cstdint>
#include <vector>

#include "engine/candidate_walk.h"
#include "engine/catalogue.h"
#include "engine/id_sequence.h"
#include "engine/record_reader.h"

namespace vesk::engine {

class TableOrder {
 public:
  explicit TableOrder(const Catalogue& catalogue) : catalogue_(catalogue) {}

  // Reads the identities in the order of index number from the file.
  void Load(sqlite3* db, int32_t index_number);
  void Reload(sqlite3* db) { Load(db, index_); }
  int32_t Index() const { return index_; }
  const IdSequence& Ids() const { return ids_; }
  // Position of identity, or IdSequence::kNotFound.
  size_t Find(int32_t identity) const { return ids_.Find(identity, index_ == 0); }

  // The record at position into buffer; throws EngineError when it is no
  // longer stored.
  void ReadAt(size_t position, uint8_t* buffer);
  // Ends the reader's stepping, before writes and after scans.
  void EndRead() {
    reader_.Reset();
    candidates_.Suspend();
  }

  // The candidate condition (none: every record) for this and later orders.
  void SetCandidates(std::shared_ptr<const CandidateCondition> condition);
  bool CandidatesOn() const { return candidates_.On(); }
  // First candidate position from `from` on / last one before `end`, or
  // kNotFound; CandidatesOn turns false when the candidates cannot be told.
  size_t NextCandidate(size_t from) { return candidates_.Next(from, position_of_); }
  size_t PriorCandidate(size_t end) { return candidates_.Prior(end, position_of_); }
  bool CandidateCertain(size_t position) const { return candidates_.Certain(position); }
  // Candidates that accept takes (with certain_pass the certain ones
  // without a look), or -1 when they cannot be told.
  int32_t CountCandidates(const CandidateWalk::Accept& accept, bool certain_pass) {
    return candidates_.Count(accept, certain_pass, probe_.data());
  }

  // Position where a record with these values and identity belongs; throws
  // EngineError when a record it compares with is gone.
  size_t PlaceOf(const uint8_t* record, int32_t identity);
  void Insert(size_t position, int32_t identity) {
    ids_.Insert(position, identity);
    Changed();
  }
  void Erase(size_t position) {
    ids_.Erase(position);
    Changed();
  }
  // Records were stored or deleted, or positions moved: the candidates
  // found, the positions by identity and the record last read no longer
  // hold.
  void Changed();

 private:
  bool InStoredOrder(const uint8_t* a, int32_t a_id, const uint8_t* b, int32_t b_id) const;
  size_t PositionOf(int32_t identity);

  const Catalogue& catalogue_;
  int32_t index_ = 0;
  IdSequence ids_;
  RecordReader reader_;
  std::vector<uint8_t> probe_;
  sqlite3* db_ = nullptr;
  CandidateWalk candidates_;
  CandidateWalk::PositionOf position_of_ = [this](int32_t identity) { return PositionOf(identity); };
  // Position of each identity, built when the candidates first need it.
  std::vector<uint32_t> positions_;
  bool positions_valid_ = false;
  // The record last read, as a move's test and the read after it ask for
  // the same one.
  size_t held_position_ = IdSequence::kNotFound;
  std::vector<uint8_t> held_;
};

}  // namespace vesk::engine

#endif
