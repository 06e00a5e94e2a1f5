// The crash test's writer: opens the table for writing and stores, stores
// over, deletes and cancels records with blob writes in an endless loop,
// announcing each operation to the test before it starts and reporting each
// that returned, until the test kills it.
// Usage: crash_writer TABLE SEED FD (FD: the pipe to the test).

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/radiridir.h"
#include "runtime/utf8_text.h"
#include "tests/engine/crash/crash_pipe.h"
#include "tests/engine/crash/crash_table.h"

namespace vesk::crash {
namespace {

// UTF-8 pieces of names, umlauts included.
constexpr const char* kPieces[] = {"Müller", "Schäfer", "Groß",   "Özdemir", "Weiß", "Kühn", "Bauer", " ",
                                   "-",      "ä",       "Straße", "Zoë",     "0",    "7",    "x"};

class Writer {
 public:
  Writer(int fd, uint64_t seed) : fd_(fd), rng_(seed) {}

  int Run(const std::string& path);

 private:
  int Fail(const std::string& what);
  bool Chance(size_t percent) { return Pick(100) < percent; }
  size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(rng_); }
  // Pieces up to the field's characters (its slot holds them in any script).
  std::string RandomText(size_t max_chars);
  std::string RandomBlob();
  void RandomValue(size_t field, RecordContent& content);
  bool GotoRecord(int32_t identity);
  bool WriteBlob(int32_t identity, int32_t field, int32_t at, const std::string& bytes, uint8_t* record, bool cut);
  bool StoreNew();
  bool StoreOver(size_t which);
  bool Delete(size_t which);
  bool CancelEdit(size_t which);

  int fd_;
  std::mt19937_64 rng_;
  int32_t h_ = 0;
  Layout layout_;
  std::vector<int32_t> identities_;
};

int Writer::Fail(const std::string& what) {
  SendMessage(fd_, {MessageKind::kFailed, 0, what + ": " + LastError(h_)});
  return 2;
}

std::string Writer::RandomText(size_t max_chars) {
  std::string text;
  for (size_t pieces = Pick(6); pieces > 0; --pieces) {
    const std::string piece = kPieces[Pick(std::size(kPieces))];
    if (Utf8Length(text + piece) > max_chars) break;
    text += piece;
  }
  return text;
}

std::string Writer::RandomBlob() {
  const size_t kind = Pick(4);
  if (kind == 0) return {};
  const size_t length = kind == 3 ? 1000 + Pick(30000) : 1 + Pick(200);
  std::string bytes(length, '\0');
  for (char& byte : bytes) byte = static_cast<char>(Pick(256));
  return bytes;
}

// A random value for a non-blob field, or no value (one time in eight).
void Writer::RandomValue(size_t field, RecordContent& content) {
  const FieldSlot& slot = layout_.fields[field];
  uint8_t* data = content.record.data() + slot.offset;
  std::fill(data, data + slot.size, 0);
  content.record[field] = 0;
  if (Chance(12)) return;
  switch (slot.letter) {
    case 'S': {
      const std::string text = RandomText(static_cast<size_t>(RR_TEXT_CHARS(slot.size)));
      std::copy(text.begin(), text.end(), data);
      content.record[field] = text.empty() ? 0 : 1;
      return;
    }
    case 'I':
    case 'A': {
      const int32_t value = static_cast<int32_t>(rng_());
      std::memcpy(data, &value, 4);
      break;
    }
    case 'B': data[0] = static_cast<uint8_t>(Pick(2)); break;
    default: {
      const double value = std::uniform_real_distribution<double>(-1e6, 80000.0)(rng_);
      std::memcpy(data, &value, 8);
    }
  }
  content.record[field] = 1;
}

bool Writer::GotoRecord(int32_t identity) {
  const int32_t mark = rr_mark_create(h_, identity);
  const bool moved = mark != 0 && rr_goto_mark(h_, mark) && rr_record_id(h_) == identity;
  if (mark != 0) rr_mark_free(h_, mark);
  return moved;
}

// Writes bytes into the blob of field at position at, after cutting the blob
// to nothing when cut is set; the engine holds the write until the store.
bool Writer::WriteBlob(int32_t identity, int32_t field, int32_t at, const std::string& bytes, uint8_t* record,
                       bool cut) {
  const int32_t mark = rr_blob(h_, RR_BLOB_OPEN, field, identity, 0, 0, record);
  if (mark == 0) return false;
  if (cut && rr_blob(h_, RR_BLOB_TRUNCATE, field, 0, 0, mark, nullptr) < 0) return false;
  // Two pieces, so that writes at an offset are exercised too.
  const size_t half = bytes.size() / 2;
  std::string copy = bytes;
  uint8_t* data = reinterpret_cast<uint8_t*>(copy.data());
  const int32_t first = static_cast<int32_t>(half);
  const int32_t second = static_cast<int32_t>(bytes.size() - half);
  return rr_blob(h_, RR_BLOB_WRITE, field, at, first, mark, data) == first &&
         rr_blob(h_, RR_BLOB_WRITE, field, at + first, second, mark, data + half) == second;
}

bool Writer::StoreNew() {
  RecordContent content;
  content.record.assign(static_cast<size_t>(layout_.record_size), 0);
  content.blobs.resize(layout_.fields.size());
  if (!rr_blank_record(h_, content.record.data())) return false;
  for (size_t i = 0; i < layout_.fields.size(); ++i) {
    if (layout_.fields[i].IsBlob()) {
      content.blobs[i] = RandomBlob();
    } else {
      RandomValue(i, content);
    }
  }
  if (!SendMessage(fd_, {MessageKind::kStoreNew, 0, Encode(layout_, content)})) return false;
  for (size_t i = 0; i < layout_.fields.size(); ++i) {
    if (content.blobs[i].empty()) continue;
    if (!WriteBlob(0, static_cast<int32_t>(i), 0, content.blobs[i], content.record.data(), false)) return false;
  }
  if (!rr_put_buffer(h_, content.record.data()) || !rr_store_new(h_)) return false;
  const int32_t identity = rr_record_id(h_);
  identities_.push_back(identity);
  return SendMessage(fd_, {MessageKind::kReturned, identity, {}});
}

bool Writer::StoreOver(size_t which) {
  const int32_t identity = identities_[which];
  if (!GotoRecord(identity) || !rr_lock(h_)) return false;
  std::optional<RecordContent> content = ReadCurrent(h_, layout_);
  if (!content) return false;
  struct BlobWrite {
    int32_t field, at;
    std::string bytes;
    bool cut;
  };
  std::vector<BlobWrite> writes;
  for (size_t i = 0; i < layout_.fields.size(); ++i) {
    if (Chance(50)) continue;
    if (!layout_.fields[i].IsBlob()) {
      RandomValue(i, *content);
      continue;
    }
    std::string& blob = content->blobs[i];
    const std::string bytes = RandomBlob();
    if (Chance(50)) {
      blob = bytes;
      writes.push_back({static_cast<int32_t>(i), 0, bytes, true});
    } else {
      const size_t at = Pick(blob.size() + 1);
      blob.resize(std::max(blob.size(), at + bytes.size()));
      blob.replace(at, bytes.size(), bytes);
      writes.push_back({static_cast<int32_t>(i), static_cast<int32_t>(at), bytes, false});
    }
  }
  if (!SendMessage(fd_, {MessageKind::kStoreOver, identity, Encode(layout_, *content)})) return false;
  for (const BlobWrite& write : writes) {
    if (!WriteBlob(identity, write.field, write.at, write.bytes, content->record.data(), write.cut)) return false;
  }
  if (!rr_put_buffer(h_, content->record.data()) || !rr_store_over(h_)) return false;
  return SendMessage(fd_, {MessageKind::kReturned, identity, {}});
}

bool Writer::Delete(size_t which) {
  const int32_t identity = identities_[which];
  if (!GotoRecord(identity)) return false;
  if (!SendMessage(fd_, {MessageKind::kDelete, identity, {}}) || !rr_delete(h_)) return false;
  identities_.erase(identities_.begin() + static_cast<std::ptrdiff_t>(which));
  return SendMessage(fd_, {MessageKind::kReturned, identity, {}});
}

// An edit with blob writes that is ended unstored: nothing of it may reach the table.
bool Writer::CancelEdit(size_t which) {
  const int32_t identity = identities_[which];
  if (!GotoRecord(identity) || !rr_lock(h_)) return false;
  std::vector<uint8_t> record(static_cast<size_t>(layout_.record_size), 0);
  if (!rr_get_record(h_, record.data())) return false;
  for (size_t i = 0; i < layout_.fields.size(); ++i) {
    if (layout_.fields[i].IsBlob() &&
        !WriteBlob(identity, static_cast<int32_t>(i), 0, RandomBlob(), record.data(), true)) {
      return false;
    }
  }
  return rr_end_edit(h_);
}

int Writer::Run(const std::string& path) {
  h_ = rr_new(0);
  if (h_ == 0) return Fail("rr_new");
  if (rr_open(h_, LengthPrefixed(path).data(), RR_MODE_READ_WRITE) < 0) return Fail("rr_open");
  std::optional<Layout> layout = ReadLayout(h_);
  if (!layout) return Fail("the table's layout");
  layout_ = *layout;
  for (rr_first(h_); !rr_no_current(h_) && !rr_eof(h_); rr_next(h_)) identities_.push_back(rr_record_id(h_));
  if (!SendMessage(fd_, {MessageKind::kReady, 0, {}})) return 2;
  for (;;) {
    // Deletes outweigh new records once the table holds 150, so it stays small.
    const size_t roll = Pick(100);
    const size_t new_share = identities_.size() < 150 ? 45 : 20;
    bool ok = true;
    std::string what;
    if (identities_.empty() || roll < new_share) {
      what = "store new";
      ok = StoreNew();
    } else if (roll < 60) {
      what = "store over";
      ok = StoreOver(Pick(identities_.size()));
    } else if (roll < 95) {
      what = "delete";
      ok = Delete(Pick(identities_.size()));
    } else {
      what = "cancelled edit";
      ok = CancelEdit(Pick(identities_.size()));
    }
    if (!ok) return Fail(what);
  }
}

}  // namespace
}  // namespace vesk::crash

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  vesk::crash::Writer writer(std::atoi(argv[3]), std::strtoull(argv[2], nullptr, 10));
  return writer.Run(argv[1]);
}
