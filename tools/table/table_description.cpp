#include "tools/table/table_description.h"

#include "tools/table/RadiRidirEngine.h"
#include "tools/table/RadiRidirError.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {

static_assert(tcRequired == RR_CONSTRAINT_REQUIRED && tcDefault == RR_CONSTRAINT_DEFAULT &&
              tcMin == RR_CONSTRAINT_MIN && tcMax == RR_CONSTRAINT_MAX);

std::vector<TTableField> DescribeFields(const TRadiRidir& table) {
  const int32_t h = TRadiRidirEngine::Handle(table);
  const int32_t count = rr_field_count(h);
  std::vector<TTableField> fields;
  for (int32_t i = 0; i < count; ++i) {
    uint8_t name[256] = {};
    int32_t offset = 0;
    uint8_t letter = 0;
    TTableField field;
    rr_field_name(name, h, i);
    if (!rr_field_info(h, i, &offset, &field.size, &letter)) throw EngineError(h);
    field.name = FromEngineText(name);
    field.letter = static_cast<char>(letter);
    if (field.letter == 'S') field.chars = RR_TEXT_CHARS(field.size);
    for (int32_t kind = RR_CONSTRAINT_REQUIRED; kind <= RR_CONSTRAINT_MAX; ++kind) {
      rr_bool present = 0;
      uint8_t text[256] = {};
      if (!rr_constraint(h, i, kind, &present, text, 255)) throw EngineError(h);
      if (present) field.constraints[static_cast<size_t>(kind)] = FromEngineText(text);
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

// Index numbers count from 1 (0 is the identity order); the engine refuses
// the first number past the last index.
std::vector<std::string> IndexNames(const TRadiRidir& table) {
  const int32_t h = TRadiRidirEngine::Handle(table);
  std::vector<std::string> names;
  for (int32_t number = 1; rr_select_index(h, number); ++number) {
    uint8_t name[256] = {};
    rr_index_name(name, h);
    names.push_back(FromEngineText(name));
  }
  rr_select_index(h, 0);
  return names;
}

}  // namespace vesk
