#include "tests/engine/crash/crash_table.h"

#include <algorithm>
#include <cstring>

#include "engine/radiridir.h"

namespace vesk::crash {

bool FieldSlot::IsBlob() const { return std::string_view("MEGL").find(letter) != std::string_view::npos; }

std::array<uint8_t, 256> LengthPrefixed(std::string_view text) {
  std::array<uint8_t, 256> result{};
  const size_t length = std::min<size_t>(text.size(), 255);
  result[0] = static_cast<uint8_t>(length);
  std::memcpy(result.data() + 1, text.data(), length);
  return result;
}

std::string LastError(int32_t h) {
  std::array<uint8_t, 256> text{};
  rr_last_error(text.data(), h, 1);
  return std::string(reinterpret_cast<const char*>(text.data() + 1), text[0]);
}

std::string CreateCrashTable(const std::string& path) {
  const rr_field_spec fields[] = {
      {"Name", 'S', 30, nullptr, nullptr, nullptr, nullptr}, {"Zahl", 'I', 0, nullptr, nullptr, nullptr, nullptr},
      {"Wert", 'F', 0, nullptr, nullptr, nullptr, nullptr},  {"Datum", 'D', 0, nullptr, nullptr, nullptr, nullptr},
      {"Aktiv", 'B', 0, nullptr, nullptr, nullptr, nullptr}, {"Text", 'M', 0, nullptr, nullptr, nullptr, nullptr},
      {"Bild", 'L', 0, nullptr, nullptr, nullptr, nullptr},
  };
  // An index on an integer field only: SQLite's integrity check must be able
  // to verify it without the engine's text collation.
  const int32_t zahl[] = {1};
  const rr_index_spec indexes[] = {{"Zahl", zahl, 1, 0}};
  const int32_t h = rr_new(0);
  if (h == 0) return "rr_new failed";
  std::string error;
  if (rr_create(h, path.c_str(), fields, 7, indexes, 1) < 0) error = "rr_create: " + LastError(h);
  rr_free(h);
  return error;
}

std::optional<Layout> ReadLayout(int32_t h) {
  Layout layout;
  layout.record_size = rr_record_size(h);
  const int32_t count = rr_field_count(h);
  if (layout.record_size <= 0 || count <= 0 || count > layout.record_size) return std::nullopt;
  for (int32_t i = 0; i < count; ++i) {
    FieldSlot slot;
    uint8_t letter = 0;
    if (!rr_field_info(h, i, &slot.offset, &slot.size, &letter)) return std::nullopt;
    slot.letter = static_cast<char>(letter);
    if (slot.offset < count || slot.size <= 0 || slot.offset + slot.size > layout.record_size) return std::nullopt;
    layout.fields.push_back(slot);
  }
  return layout;
}

std::string Encode(const Layout& layout, const RecordContent& content) {
  std::string encoded;
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldSlot& slot = layout.fields[i];
    if (slot.IsBlob()) {
      const std::string& blob = content.blobs[i];
      encoded += 'b' + std::to_string(blob.size()) + ':' + blob;
      continue;
    }
    const bool present = content.record[i] == 1;
    encoded += present ? 'p' : 'n';
    if (!present) continue;
    const char* data = reinterpret_cast<const char*>(content.record.data() + slot.offset);
    size_t length = static_cast<size_t>(slot.size);
    if (slot.letter == 'S') length = strnlen(data, length);
    encoded += std::to_string(length) + ':';
    encoded.append(data, length);
  }
  return encoded;
}

namespace {

std::optional<std::string> ReadBlob(int32_t h, int32_t field, int32_t identity, uint8_t* record) {
  const int32_t mark = rr_blob(h, RR_BLOB_OPEN, field, identity, 0, 0, record);
  if (mark == 0) return std::nullopt;
  const int32_t length = rr_blob(h, RR_BLOB_LENGTH, 0, 0, 0, mark, nullptr);
  if (length < 0) return std::nullopt;
  std::string bytes(static_cast<size_t>(length), '\0');
  int32_t done = 0;
  while (done < length) {
    const int32_t n =
        rr_blob(h, RR_BLOB_READ, field, done, length - done, mark, reinterpret_cast<uint8_t*>(bytes.data()) + done);
    if (n <= 0) return std::nullopt;
    done += n;
  }
  return bytes;
}

}  // namespace

std::optional<RecordContent> ReadCurrent(int32_t h, const Layout& layout) {
  RecordContent content;
  content.record.assign(static_cast<size_t>(layout.record_size), 0);
  content.blobs.resize(layout.fields.size());
  if (!rr_get_record(h, content.record.data())) return std::nullopt;
  const int32_t identity = rr_record_id(h);
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    if (!layout.fields[i].IsBlob()) continue;
    std::optional<std::string> blob = ReadBlob(h, static_cast<int32_t>(i), identity, content.record.data());
    if (!blob) return std::nullopt;
    content.blobs[i] = std::move(*blob);
  }
  return content;
}

std::string BlobLengthMismatch(const Layout& layout, const RecordContent& content) {
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    if (!layout.fields[i].IsBlob() || content.record[i] != 1) continue;
    int32_t length = 0;
    std::memcpy(&length, content.record.data() + layout.fields[i].offset, 4);
    if (static_cast<size_t>(length) != content.blobs[i].size()) {
      return "field " + std::to_string(i) + " gives blob length " + std::to_string(length) + ", the blob holds " +
             std::to_string(content.blobs[i].size()) + " bytes";
    }
  }
  return {};
}

ScanResult ScanTable(int32_t h, const Layout& layout) {
  ScanResult result;
  const int32_t count = rr_record_count(h);
  if (count < 0) {
    result.error = "rr_record_count failed: " + LastError(h);
    return result;
  }
  rr_first(h);
  if (rr_no_current(h)) {
    if (count != 0) result.error = "rr_first finds no record, rr_record_count gives " + std::to_string(count);
    return result;
  }
  // The scan stops at the end flag; the bound catches a cursor that never sets it.
  for (int32_t step = 0; step <= count; ++step) {
    const int32_t identity = rr_record_id(h);
    std::optional<RecordContent> content = ReadCurrent(h, layout);
    if (!content) {
      result.error = "record " + std::to_string(identity) + " cannot be read: " + LastError(h);
      return result;
    }
    if (const std::string mismatch = BlobLengthMismatch(layout, *content); !mismatch.empty()) {
      result.error = "record " + std::to_string(identity) + ": " + mismatch;
      return result;
    }
    if (!result.records.emplace(identity, Encode(layout, *content)).second) {
      result.error = "record " + std::to_string(identity) + " is met twice in one scan";
      return result;
    }
    rr_next(h);
    if (rr_eof(h)) break;
  }
  if (result.records.size() != static_cast<size_t>(count)) {
    result.error = "the scan met " + std::to_string(result.records.size()) + " records, rr_record_count gives " +
                   std::to_string(count);
  }
  return result;
}

}  // namespace vesk::crash
