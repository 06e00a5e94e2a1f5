// The part of the current order a cursor has come to know: the identities
// at consecutive positions around where it was anchored (the start or end
// of the table, a record, or the place of a record gone), loaded from SQLite
// as moves reach beyond either end. Loading leaves every known position as
// it was, so whatever holds one keeps it. A position's record number is
// counted from the start or end of the table when it is asked for, and kept
// until the table changes, as is the count of all records.
#ifndef VESK_ENGINE_ORDER_RUN_H
#define VESK_ENGINE_ORDER_RUN_H

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/catalogue.h"
#include "engine/id_sequence.h"
#include "engine/order_bound.h"

namespace vesk::engine {

class OrderRun {
 public:
  // For the order of index number (0: identity), anchored at its start.
  void Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number);
  void AnchorAtStart();
  void AnchorAtEnd();
  // On the stored record identity: its position.
  size_t AnchorOn(int32_t identity);
  // Where a record with key stood: the positions from Begin() on are the
  // records after it.
  void AnchorAt(OrderKey key);
  // The key of the stored record identity; false when none is stored.
  bool KeyOf(int32_t identity, OrderKey* key) { return ranges_.KeyOf(identity, key); }

  // The known positions are [Begin(), End()).
  size_t Begin() const { return origin_; }
  size_t End() const { return origin_ + ids_.Size(); }
  // A record stands at position: loads towards it as far as needed.
  bool Has(size_t position);
  int32_t At(size_t position) const { return ids_.At(position - origin_); }
  // Begin() is the first position of the table.
  bool AtStart() const { return at_start_; }
  bool AtEnd() const { return at_end_; }
  // Counts the anchorings, after which the positions known before are void.
  // Each anchoring starts at the same position, so Begin() is the same
  // after every one.
  uint64_t Anchorings() const { return anchorings_; }
  // Position of identity, loading in both directions as far as needed;
  // kNotFound when it is not in the order.
  size_t Reach(int32_t identity);

  // 0-based record number of a known position.
  int64_t Number(size_t position);
  // Position of 0-based record number (< Count()).
  size_t PositionOfNumber(int64_t number);
  int64_t Count();
  // A record was stored outside the known positions.
  void CountAdded() {
    if (count_) ++*count_;
  }

  // The identity that follows End() in the order, as another walk along
  // it found: known from now on; loading goes on beyond it.
  void AppendStepped(int32_t identity);

  // Records stored and deleted at known positions: the positions after
  // them move.
  void Insert(size_t position, int32_t identity);
  void Erase(size_t position);
  // Ends SQLite's reads, before writes and after scans; loading later goes
  // on from where it stopped. The record identity changing (0: none) is
  // about to be changed or deleted: where loading stopped at it, or the
  // order is anchored on it, its key is read now; other keys are read only
  // when loading goes on.
  void Pause(int32_t changing);

 private:
  // One direction's loading: the ranges beyond key, the one being stepped.
  struct Loader {
    OrderKey key;
    size_t range = 0;
    sqlite3_stmt* stmt = nullptr;
    int32_t last = 0;         // the identity given last, when key is not its
    bool after_last = false;  // loading goes on after last, its key not read yet
  };
  void Reset(size_t origin);
  // The next identity beyond loader's key, or 0 at the end of the order.
  int32_t Step(Loader& loader, bool forward);
  void Pause(Loader& loader, int32_t changing);
  // Loading goes on after the identity given last: its key, read now.
  void KeyFromLast(Loader& loader);
  // The key of the stored record identity; throws EngineError when it is
  // gone. In the order of identities the key is the identity alone.
  void KeyFor(int32_t identity, OrderKey* key);
  // Loads up to count records forward or back; false at the end.
  bool LoadForward(size_t count);
  bool LoadBack(size_t count);
  // How many to load back, or both ways when looking for an identity: as
  // many as are known, within bounds.
  size_t Chunk() const;
  int64_t StartNumber();
  void Note(size_t position, int32_t identity);
  // The key of the record anchored on, read before it is needed or can
  // change; throws EngineError when the record is gone.
  void ReadPendingKey();

  OrderRanges ranges_;
  IdSequence ids_;
  size_t origin_ = 0;
  bool at_start_ = true;
  bool at_end_ = false;
  Loader forward_, back_;
  int32_t pending_ = 0;                  // anchored on, its key not read yet
  std::optional<int64_t> start_number_;  // record number of Begin()
  std::optional<int64_t> count_;
  // Positions by identity over the known ones, relative to kFloor, once
  // Reach needs them.
  std::vector<uint32_t> positions_;
  bool positions_valid_ = false;
  uint64_t anchorings_ = 0;
};

}  // namespace vesk::engine

#endif
