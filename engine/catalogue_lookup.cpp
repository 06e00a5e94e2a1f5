// Finding fields and indexes of a catalogue by number, name and key fields.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "engine/catalogue.h"
#include "engine/engine_error.h"

namespace vesk::engine {

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

const Field& Catalogue::FieldAt(int32_t field) const {
  if (field < 0 || field >= FieldCount()) throw EngineError("Field index " + std::to_string(field) + " out of range");
  return fields[static_cast<size_t>(field)];
}

int32_t Catalogue::IndexNumber(const std::string& name) const {
  if (name.empty()) return 0;
  for (size_t n = 0; n < indexes.size(); ++n) {
    if (EqualNoCase(indexes[n].name, name)) return static_cast<int32_t>(n) + 1;
  }
  throw EngineError("Index " + name + " not found");
}

bool Catalogue::IndexServes(int32_t number, const std::vector<int32_t>& key_fields, bool case_insensitive) const {
  const Index& index = indexes[static_cast<size_t>(number) - 1];
  if (key_fields.empty() || index.fields.size() < key_fields.size()) return false;
  if (!std::equal(key_fields.begin(), key_fields.end(), index.fields.begin())) return false;
  bool has_text = std::any_of(key_fields.begin(), key_fields.end(), [this](int32_t f) { return FieldAt(f).IsText(); });
  return !has_text || index.case_insensitive == case_insensitive;
}

int32_t Catalogue::SearchIndex(const std::vector<int32_t>& key_fields, bool case_sensitive) const {
  for (int32_t f : key_fields) FieldAt(f);
  for (size_t n = 1; n <= indexes.size(); ++n) {
    if (IndexServes(static_cast<int32_t>(n), key_fields, !case_sensitive)) return static_cast<int32_t>(n);
  }
  return -1;
}

}  // namespace vesk::engine
