// C entry points: record buffers, editing and blobs.
#include "engine/radiridir.h"
#include "engine/session.h"

using namespace vesk::engine;

extern "C" {

rr_bool rr_get_record(int32_t h, uint8_t* buffer) {
  return GuardedBool(h, [&](Session& s) {
    RequireArgument(buffer, "buffer");
    s.Open().Editor().GetRecord(buffer);
  });
}

rr_bool rr_blank_record(int32_t h, uint8_t* buffer) {
  return GuardedBool(h, [&](Session& s) {
    RequireArgument(buffer, "buffer");
    s.Open().Editor().BlankRecord(buffer);
  });
}

rr_bool rr_put_buffer(int32_t h, const uint8_t* buffer) {
  return GuardedBool(h, [&](Session& s) {
    RequireArgument(buffer, "buffer");
    s.Open().Editor().PutBuffer(buffer);
  });
}

rr_bool rr_store_new(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().StoreNew(); });
}

rr_bool rr_store_over(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().StoreOver(); });
}

rr_bool rr_lock(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().Lock(); });
}

rr_bool rr_end_edit(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().EndEdit(); });
}

rr_bool rr_delete(int32_t h) {
  return GuardedBool(h, [](Session& s) { s.Open().Editor().Delete(); });
}

int32_t rr_blob(int32_t h, int32_t operation, int32_t field, int32_t value, int32_t count, int32_t blob_mark,
                uint8_t* buffer) {
  int32_t failure = operation == RR_BLOB_OPEN ? 0 : -1;
  return Guarded(h, failure,
                 [&](Session& s) { return s.Open().Blob(operation, field, value, count, blob_mark, buffer); });
}

}  // extern "C"
