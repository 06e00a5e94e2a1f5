// The fuzz target of opening a table file: any bytes as a table, opened for
// reading and then for writing, its catalogue read and its first records
// walked through the engine's entry functions. Failing is fine; crashing,
// hanging or contradicting the catalogue is not.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/radiridir.h"
#include "fuzz/fuzz_entry.h"

namespace vesk {
namespace {

constexpr int32_t kMostRecords = 64;
constexpr int32_t kBlobBytes = 64;
constexpr std::string_view kFieldLetters = "SIABFRCDMEGL";

constexpr const char* kSideFiles[] = {"", "-wal", "-shm", "-journal", "-lock"};

// A folder of this process's own for the table file and its side files,
// removed when the process ends.
class TableFolder {
 public:
  TableFolder() {
    const char* temp = getenv("TMPDIR");
    folder_ = std::string(temp && *temp ? temp : "/tmp") + "/table_fuzz.XXXXXX";
    if (!mkdtemp(folder_.data())) FuzzRuleBroken("no temporary folder");
  }
  ~TableFolder() {
    RemoveTable();
    rmdir(folder_.c_str());
  }
  std::string Table() const { return folder_ + "/fuzz.mti"; }
  void RemoveTable() const {
    for (const char* suffix : kSideFiles) unlink((Table() + suffix).c_str());
  }

 private:
  std::string folder_;
};

const TableFolder& Folder() {
  static const TableFolder folder;
  return folder;
}

std::string ShortText(const std::string& text) { return std::string(1, static_cast<char>(text.size())) + text; }

bool HasError(int32_t h) {
  uint8_t error[256] = {};
  rr_last_error(error, h, 1);
  return error[0] > 0;
}

bool IsBlob(uint8_t letter) { return letter == 'M' || letter == 'E' || letter == 'G' || letter == 'L'; }

// The catalogue as the table layer reads it: every field inside the record,
// of a known type, with its constraints.
void ReadCatalogue(int32_t h, int32_t recordSize, std::string& letters) {
  const int32_t fields = rr_field_count(h);
  if (fields < 0) FuzzRuleBroken("a negative field count");
  for (int32_t f = 0; f < fields; ++f) {
    uint8_t text[256];
    rr_field_name(text, h, f);
    int32_t offset = -1, size = -1;
    uint8_t letter = 0;
    if (!rr_field_info(h, f, &offset, &size, &letter)) FuzzRuleBroken("a counted field has no information");
    if (offset < fields || size <= 0 || offset + size > recordSize) FuzzRuleBroken("a field lies outside the record");
    if (kFieldLetters.find(static_cast<char>(letter)) == std::string_view::npos)
      FuzzRuleBroken("a field of an unknown type");
    letters += static_cast<char>(letter);
    for (int32_t kind : {RR_CONSTRAINT_REQUIRED, RR_CONSTRAINT_DEFAULT, RR_CONSTRAINT_MIN, RR_CONSTRAINT_MAX}) {
      rr_bool present = 0;
      rr_constraint(h, f, kind, &present, text, 255);
    }
  }
  int32_t offset, size;
  uint8_t letter;
  if (rr_field_info(h, fields, &offset, &size, &letter)) FuzzRuleBroken("a field after the last one");
}

void ReadBlobs(int32_t h, const std::string& letters) {
  const int32_t identity = rr_record_id(h);
  for (int32_t f = 0; f < static_cast<int32_t>(letters.size()); ++f) {
    if (!IsBlob(letters[f])) continue;
    const int32_t mark = rr_blob(h, RR_BLOB_OPEN, f, identity, 0, 0, nullptr);
    if (mark == 0) continue;
    const int32_t length = rr_blob(h, RR_BLOB_LENGTH, f, 0, 0, mark, nullptr);
    auto bytes = std::make_unique<uint8_t[]>(kBlobBytes);
    const int32_t read = rr_blob(h, RR_BLOB_READ, f, 0, kBlobBytes, mark, bytes.get());
    if (read > std::min(length, kBlobBytes)) FuzzRuleBroken("a blob read gave more bytes than it holds");
  }
}

// Walks the first records forward, then back from the end; a table of few
// records is walked whole and must hold as many as it counts.
void WalkRecords(int32_t h, int32_t recordSize, const std::string& letters) {
  const int32_t count = rr_record_count(h);
  if (count < 0) FuzzRuleBroken("a negative record count");
  auto record = std::make_unique<uint8_t[]>(recordSize);
  int32_t walked = 0;
  bool moved = rr_first(h);
  while (moved && !rr_eof(h) && walked < kMostRecords) {
    ++walked;
    if (rr_get_record(h, record.get())) ReadBlobs(h, letters);
    moved = rr_next(h);
  }
  if (moved && walked < kMostRecords && walked != count) FuzzRuleBroken("a walk and the record count disagree");
  if (rr_last(h)) {
    for (int i = 0; i < 3 && !rr_bof(h); ++i) {
      rr_get_record(h, record.get());
      if (!rr_prior(h)) break;
    }
  }
  if (count > 0 && rr_goto_rec_no(h, count) && rr_rec_no(h) != count) FuzzRuleBroken("a record number not kept");
  if (rr_goto_rec_no(h, count + 1)) FuzzRuleBroken("a record number after the last one");
  rr_blank_record(h, record.get());
}

void OpenAndRead(int32_t mode) {
  const int32_t h = rr_new(0);
  if (h == 0) FuzzRuleBroken("no handle");
  const std::string name = ShortText(Folder().Table());
  if (rr_open(h, reinterpret_cast<const uint8_t*>(name.data()), mode) < 0) {
    if (!HasError(h)) FuzzRuleBroken("a failed open without an error");
    if (rr_is_open(h)) FuzzRuleBroken("a failed open left the table open");
    rr_free(h);
    return;
  }
  const int32_t recordSize = rr_record_size(h);
  if (recordSize <= 0 || recordSize >= 65536) FuzzRuleBroken("a record size out of range");
  std::string letters;
  ReadCatalogue(h, recordSize, letters);
  uint8_t index[256];
  rr_index_name(index, h);
  for (int32_t number = 0; number < 3; ++number) {
    if (rr_select_index(h, number)) WalkRecords(h, recordSize, letters);
  }
  rr_close(h);
  if (rr_is_open(h)) FuzzRuleBroken("a closed table still open");
  rr_free(h);
}

}  // namespace

void FuzzOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(Folder().Table().c_str(), "wb");
  if (!file) FuzzRuleBroken("the table file cannot be written");
  if (std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) FuzzRuleBroken("the table file is short");
  OpenAndRead(RR_MODE_READ_ONLY);
  OpenAndRead(RR_MODE_READ_WRITE);
  Folder().RemoveTable();
}

}  // namespace vesk
