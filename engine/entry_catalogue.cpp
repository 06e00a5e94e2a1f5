// C entry points: fields, constraints and indexes.
#include "engine/radiridir.h"
#include "engine/session.h"
#include "engine/table_create.h"

using namespace vesk::engine;

namespace {
std::vector<int32_t> FieldList(const int32_t* fields, int32_t field_count) {
  if (field_count < 1) throw EngineError("A field list needs at least one field");
  RequireArgument(fields, "fields");
  return std::vector<int32_t>(fields, fields + field_count);
}
}  // namespace

extern "C" {

int32_t rr_record_size(int32_t h) {
  return Guarded(h, int32_t{-1}, [](Session& s) { return s.Open().Fields().RecordSize(); });
}

int32_t rr_field_count(int32_t h) {
  return Guarded(h, int32_t{-1}, [](Session& s) { return s.Open().Fields().FieldCount(); });
}

void rr_field_name(uint8_t* result, int32_t h, int32_t field) {
  if (result) result[0] = 0;
  GuardedBool(h, [&](Session& s) {
    RequireArgument(result, "result");
    WriteShortText(result, s.Open().Fields().FieldAt(field).name);
  });
}

rr_bool rr_field_info(int32_t h, int32_t field, int32_t* offset, int32_t* size, uint8_t* letter) {
  return GuardedBool(h, [&](Session& s) {
    RequireArgument(offset, "offset");
    RequireArgument(size, "size");
    RequireArgument(letter, "letter");
    const Field& f = s.Open().Fields().FieldAt(field);
    *offset = f.offset;
    *size = f.size;
    *letter = static_cast<uint8_t>(f.letter);
  });
}

rr_bool rr_constraint(int32_t h, int32_t field, int32_t kind, rr_bool* present, uint8_t* text, int32_t max_len) {
  return GuardedBool(h, [&](Session& s) {
    RequireArgument(present, "present");
    RequireArgument(text, "text");
    if (max_len < 0) throw EngineError("Text length " + std::to_string(max_len) + " out of range");
    if (kind < RR_CONSTRAINT_REQUIRED || kind > RR_CONSTRAINT_MAX)
      throw EngineError("Constraint kind " + std::to_string(kind) + " out of range");
    const auto& constraint = s.Open().Fields().FieldAt(field).constraints[kind];
    *present = constraint.has_value();
    WriteShortText(text, constraint.value_or(""), static_cast<size_t>(max_len));
  });
}

void rr_index_name(uint8_t* result, int32_t h) {
  if (result) result[0] = 0;
  GuardedBool(h, [&](Session& s) {
    RequireArgument(result, "result");
    WriteShortText(result, s.Open().IndexName());
  });
}

int32_t rr_index_number(int32_t h, const uint8_t* name) {
  return Guarded(h, int32_t{-1}, [&](Session& s) {
    RequireArgument(name, "name");
    return s.Open().Fields().IndexNumber(ReadShortText(name));
  });
}

rr_bool rr_select_index(int32_t h, int32_t number) {
  return GuardedBool(h, [&](Session& s) { s.Open().SelectIndex(number); });
}

int32_t rr_search_index(int32_t h, const int32_t* fields, int32_t field_count, rr_bool case_sensitive) {
  return Guarded(h, int32_t{-1}, [&](Session& s) {
    return s.Open().Fields().SearchIndex(FieldList(fields, field_count), case_sensitive != 0);
  });
}

rr_bool rr_search(int32_t h, const int32_t* fields, int32_t field_count, uint8_t* key_record, int32_t index,
                  int32_t partial_length, rr_bool case_insensitive, rr_bool move) {
  return Guarded(h, rr_bool{0}, [&](Session& s) {
    RequireArgument(key_record, "key_record");
    return rr_bool{s.Open().Search(FieldList(fields, field_count), key_record, index, partial_length,
                                   case_insensitive != 0, move != 0)};
  });
}

rr_bool rr_add_index(int32_t h, const rr_index_spec* index) {
  return GuardedBool(h, [&](Session& s) {
    RequireArgument(index, "index");
    s.Open().AddIndex(DescribeIndex(*index, 0));
  });
}

}  // extern "C"
