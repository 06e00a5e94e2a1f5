#include "engine/record_codec.h"

#include <cstring>

#include "engine/collation.h"
#include "runtime/utf8_text.h"

namespace vesk::engine {

namespace {

template <typename T>
T Load(const uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <typename T>
void Save(uint8_t* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

double NumberOf(const Field& field, const uint8_t* buffer) {
  return field.IsInteger() ? IntegerOf(field, buffer) : Load<double>(buffer + field.offset);
}

// A stored text as the field holds it: its declared characters at most.
std::string_view FitText(const Field& field, std::string_view text) {
  return Utf8CutBytes(Utf8Prefix(text, static_cast<size_t>(field.chars)), static_cast<size_t>(field.size - 1));
}

}  // namespace

bool IsPresent(int32_t field_number, const uint8_t* buffer) { return buffer[field_number] != 0; }

std::string_view TextOf(const Field& field, const uint8_t* buffer) {
  const char* text = reinterpret_cast<const char*>(buffer + field.offset);
  return FitText(field, std::string_view(text, strnlen(text, field.size - 1)));
}

int32_t IntegerOf(const Field& field, const uint8_t* buffer) {
  if (field.letter == 'B') return Load<int16_t>(buffer + field.offset) != 0 ? 1 : 0;
  return Load<int32_t>(buffer + field.offset);
}

void SetInteger(const Field& field, int32_t value, uint8_t* buffer) {
  if (field.letter == 'B')
    Save<int16_t>(buffer + field.offset, value != 0 ? 1 : 0);
  else
    Save<int32_t>(buffer + field.offset, value);
}

void DecodeRecord(const Catalogue& catalogue, sqlite3_stmt* row, int first_column, uint8_t* buffer) {
  std::memset(buffer, 0, catalogue.RecordSize());
  for (int32_t i = 0; i < catalogue.FieldCount(); ++i) {
    const Field& field = catalogue.fields[i];
    // One column lookup per field; the value accessors are cheaper than the
    // column ones, and connections are used by one thread only.
    sqlite3_value* value = sqlite3_column_value(row, first_column + i);
    if (sqlite3_value_type(value) == SQLITE_NULL) continue;
    buffer[i] = 1;
    uint8_t* at = buffer + field.offset;
    switch (field.letter) {
      case 'S': {
        const char* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        std::string_view cut = FitText(field, std::string_view(text, sqlite3_value_bytes(value)));
        std::memcpy(at, cut.data(), cut.size());
        break;
      }
      case 'I':
      case 'A':
      case 'B': SetInteger(field, sqlite3_value_int(value), buffer); break;
      case 'F':
      case 'R':
      case 'C':
      case 'D': Save<double>(at, sqlite3_value_double(value)); break;
      default: Save<int32_t>(at, sqlite3_value_bytes(value));
    }
  }
}

void BindField(sqlite3_stmt* stmt, int parameter, const Catalogue& catalogue, int32_t field_number,
               const uint8_t* buffer) {
  const Field& field = catalogue.fields[field_number];
  if (!IsPresent(field_number, buffer)) {
    sqlite3_bind_null(stmt, parameter);
  } else if (field.IsText()) {
    std::string_view text = TextOf(field, buffer);
    sqlite3_bind_text(stmt, parameter, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  } else if (field.IsInteger()) {
    sqlite3_bind_int(stmt, parameter, IntegerOf(field, buffer));
  } else {
    sqlite3_bind_double(stmt, parameter, Load<double>(buffer + field.offset));
  }
}

int CompareField(const Catalogue& catalogue, int32_t field_number, const uint8_t* a, const uint8_t* b,
                 bool case_insensitive) {
  bool has_a = IsPresent(field_number, a), has_b = IsPresent(field_number, b);
  if (!has_a || !has_b) return has_a - has_b;
  const Field& field = catalogue.fields[field_number];
  if (field.IsText()) return catalogue.text_order->Compare(TextOf(field, a), TextOf(field, b), case_insensitive);
  double x = NumberOf(field, a), y = NumberOf(field, b);
  return x < y ? -1 : x > y ? 1 : 0;
}

bool FieldMatches(const Catalogue& catalogue, int32_t field_number, const uint8_t* candidate, const uint8_t* key,
                  bool case_insensitive, int32_t prefix_chars) {
  const Field& field = catalogue.fields[field_number];
  if (prefix_chars <= 0 || !field.IsText() || !IsPresent(field_number, key))
    return CompareField(catalogue, field_number, candidate, key, case_insensitive) == 0;
  std::string_view prefix = Utf8Prefix(TextOf(field, key), prefix_chars);
  if (prefix.empty()) return true;
  if (!IsPresent(field_number, candidate)) return false;
  std::string_view start = Utf8Prefix(TextOf(field, candidate), Utf8Length(prefix));
  return catalogue.text_order->Compare(start, prefix, case_insensitive) == 0;
}

}  // namespace vesk::engine
