// Blob writes are held until the record is stored and dropped by ending
// the edit.
#include <cstring>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

class Blobs : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenSample();
  }
  int32_t OpenBlob(int32_t identity, int32_t field = kNotiz, int32_t h = 0) {
    return rr_blob(h ? h : h_, RR_BLOB_OPEN, field, identity, 0, 0, nullptr);
  }
  void Write(int32_t mark, int32_t position, const std::string& text) {
    std::string bytes = text;
    EXPECT_EQ(rr_blob(h_, RR_BLOB_WRITE, kNotiz, position, static_cast<int32_t>(bytes.size()), mark,
                      reinterpret_cast<uint8_t*>(bytes.data())),
              static_cast<int32_t>(bytes.size()))
        << LastError(h_);
  }
  std::string Read(int32_t mark, int32_t h = 0) {
    h = h ? h : h_;
    int32_t length = rr_blob(h, RR_BLOB_LENGTH, 0, 0, 0, mark, nullptr);
    std::string bytes(static_cast<size_t>(std::max(length, 0)), '\0');
    EXPECT_EQ(rr_blob(h, RR_BLOB_READ, kNotiz, 0, length, mark, reinterpret_cast<uint8_t*>(bytes.data())), length);
    return bytes;
  }
};

TEST_F(Blobs, WritesAreHeldUntilStoreOverAndDroppedByEndEdit) {
  int32_t id = Add("Adam");
  int32_t mark = OpenBlob(id);
  ASSERT_GT(mark, 0) << LastError(h_);
  ASSERT_TRUE(rr_lock(h_));
  Write(mark, 0, "erste Fassung");
  EXPECT_EQ(Read(mark), "erste Fassung");
  int32_t reader = rr_new(0);
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY, reader), 0) << LastError(reader);
  EXPECT_EQ(Read(OpenBlob(id, kNotiz, reader), reader), "");  // not yet stored
  Record record(h_);
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  EXPECT_EQ(record.Int(kNotiz), 13);  // the buffer shows the held length
  ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
  ASSERT_TRUE(rr_store_over(h_)) << LastError(h_);
  EXPECT_EQ(Read(OpenBlob(id, kNotiz, reader), reader), "erste Fassung");
  rr_free(reader);
  ASSERT_TRUE(rr_lock(h_));
  Write(mark, 6, "Entwurf");
  EXPECT_EQ(Read(mark), "erste Entwurf");
  ASSERT_TRUE(rr_end_edit(h_));
  EXPECT_EQ(Read(mark), "erste Fassung");
}

TEST_F(Blobs, RecordBeingInsertedHasIdentityZero) {
  int32_t mark = OpenBlob(0);
  ASSERT_GT(mark, 0);
  Write(mark, 0, "neu");
  Record record(h_);
  record.SetText(kName, "Berta");
  ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
  ASSERT_TRUE(rr_store_new(h_)) << LastError(h_);
  int32_t id = rr_record_id(h_);
  EXPECT_EQ(Read(OpenBlob(id)), "neu");
  EXPECT_EQ(Read(mark), "");  // the next new record starts empty
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  EXPECT_TRUE(record.Has(kNotiz));
  EXPECT_EQ(record.Int(kNotiz), 3);
  // A cancelled insert leaves nothing behind.
  Write(mark, 0, "verworfen");
  ASSERT_TRUE(rr_end_edit(h_));
  EXPECT_EQ(Read(mark), "");
}

TEST_F(Blobs, TruncateLengthAndReadsPastTheEnd) {
  int32_t id = Add("Adam");
  int32_t mark = OpenBlob(id);
  Write(mark, 0, "0123456789");
  EXPECT_EQ(rr_blob(h_, RR_BLOB_TRUNCATE, kNotiz, 4, 0, mark, nullptr), 4);
  EXPECT_EQ(rr_blob(h_, RR_BLOB_LENGTH, 0, 0, 0, mark, nullptr), 4);
  uint8_t bytes[8];
  EXPECT_EQ(rr_blob(h_, RR_BLOB_READ, kNotiz, 2, 8, mark, bytes), 2);
  EXPECT_EQ(std::memcmp(bytes, "23", 2), 0);
  EXPECT_EQ(rr_blob(h_, RR_BLOB_READ, kNotiz, 9, 8, mark, bytes), 0);
  Write(mark, 6, "x");  // past the end: the gap is filled with zeros
  EXPECT_EQ(Read(mark), std::string("0123\0\0x", 7));
  EXPECT_EQ(rr_blob(h_, RR_BLOB_TRUNCATE, kNotiz, 0, 0, mark, nullptr), 0);
  Record record(h_);
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
  ASSERT_TRUE(rr_store_over(h_));
  ASSERT_TRUE(rr_get_record(h_, record.Data()));
  EXPECT_FALSE(record.Has(kNotiz));
}

TEST_F(Blobs, BadBlobCallsFailWithAText) {
  int32_t id = Add("Adam");
  EXPECT_EQ(OpenBlob(id, kName), 0);
  EXPECT_EQ(LastError(h_), "Field Name is not a blob field");
  EXPECT_EQ(OpenBlob(id + 5), 0);
  EXPECT_EQ(OpenBlob(id, 42), 0);
  EXPECT_EQ(LastError(h_), "Field index 42 out of range");
  EXPECT_EQ(rr_blob(h_, RR_BLOB_READ, kNotiz, 0, 4, 77, nullptr), -1);
  EXPECT_EQ(LastError(h_), "Blob mark 77 does not exist");
  int32_t mark = OpenBlob(id, kBild);
  EXPECT_EQ(rr_blob(h_, RR_BLOB_READ, kBild, -1, 4, mark, nullptr), -1);
  EXPECT_EQ(rr_blob(h_, RR_BLOB_WRITE, kBild, 0, 4, mark, nullptr), -1);
  EXPECT_EQ(rr_blob(h_, 9, kBild, 0, 0, mark, nullptr), -1);
  EXPECT_EQ(LastError(h_), "Blob operation 9 is unknown");
}

}  // namespace
}  // namespace vesk
