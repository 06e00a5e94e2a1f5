// TBlobStream: reads and writes one memo or blob field of a TRadiRidir's
// active record through the engine. Writes are held by the engine until the
// record is posted and dropped when it is cancelled; when the stream that
// wrote goes away, the field is marked modified.
#pragma once

#include <cstdint>

#include "toolkit/data/db_types.h"
#include "toolkit/data/stream.h"

namespace vesk {

class TBlobField;
class TRadiRidir;

class TBlobStream : public TStream {
 public:
  // Mode bmWrite cuts the blob to nothing at once. EDatabaseError when the
  // blob cannot be reached, in the filter state, and when writing is asked
  // of a read-only field or a dataset that is not being edited.
  TBlobStream(TBlobField* field, TBlobStreamMode mode);
  ~TBlobStream() override;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int32_t Seek(int32_t offset, TSeekOrigin origin) override;

 private:
  // An engine blob call; a failure raises the engine's error.
  int32_t Blob(int32_t operation, int32_t field, int32_t value, int32_t count, uint8_t* buffer);

  int32_t mark_ = 0;
  TBlobField* field_;
  TRadiRidir* dataset_;
  TBlobStreamMode mode_;
  int32_t fieldIndex_;
  bool written_ = false;
  char* record_ = nullptr;
  int32_t position_ = 0;
};

}  // namespace vesk
