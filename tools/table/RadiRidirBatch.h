// TRadiRidirBatch: an all-or-nothing run of stores and deletes on an open
// table. The batch begins with the guard; Commit keeps what was done, and a
// guard that goes away uncommitted (a failure, an early return) undoes it all
// and puts the engine's cursor on the first record. A record still being
// edited is the caller's to cancel before the guard goes.
#pragma once

namespace vesk {

class TRadiRidir;

class TRadiRidirBatch {
 public:
  // ERadiRidirError when the engine cannot begin (a table not open for
  // writing, a batch already running).
  explicit TRadiRidirBatch(TRadiRidir& table);
  ~TRadiRidirBatch();
  TRadiRidirBatch(const TRadiRidirBatch&) = delete;
  TRadiRidirBatch& operator=(const TRadiRidirBatch&) = delete;

  // ERadiRidirError when the engine cannot commit; the batch is then undone
  // when the guard goes away.
  void Commit();

 private:
  TRadiRidir& table_;
  bool committed_ = false;
};

}  // namespace vesk
