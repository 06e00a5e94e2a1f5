// The table the crash test writes and checks: its fields, the record layout
// the engine reports, and a record's content in a comparable form.
#ifndef VESK_TESTS_ENGINE_CRASH_CRASH_TABLE_H
#define VESK_TESTS_ENGINE_CRASH_CRASH_TABLE_H

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::crash {

struct FieldSlot {
  int32_t offset = 0;
  int32_t size = 0;
  char letter = 0;
  bool IsBlob() const;
};

struct Layout {
  int32_t record_size = 0;
  std::vector<FieldSlot> fields;
};

// A record as the writer meant it or as the engine holds it: the record
// buffer, and for each blob field its bytes (empty strings for other fields).
struct RecordContent {
  std::vector<uint8_t> record;
  std::vector<std::string> blobs;
};

std::array<uint8_t, 256> LengthPrefixed(std::string_view text);
std::string LastError(int32_t h);

// Creates the crash test's table at path; empty on success, else the reason.
std::string CreateCrashTable(const std::string& path);

// The layout of the open table, or nothing when the engine cannot tell it.
std::optional<Layout> ReadLayout(int32_t h);

// Presence bytes, the meaningful bytes of each present field (text up to its
// terminator) and the blobs' bytes: equal encodings mean equal records.
std::string Encode(const Layout& layout, const RecordContent& content);

// The current record with its blobs; nothing when a read fails.
std::optional<RecordContent> ReadCurrent(int32_t h, const Layout& layout);

// Empty when each present blob field's length in the record buffer is the
// length of its blob, else which field disagrees.
std::string BlobLengthMismatch(const Layout& layout, const RecordContent& content);

struct ScanResult {
  std::map<int32_t, std::string> records;  // identity -> Encode()
  std::string error;                       // empty when the scan succeeded
};

// Every record of the open table in identity order, read through the engine.
ScanResult ScanTable(int32_t h, const Layout& layout);

}  // namespace vesk::crash

#endif
