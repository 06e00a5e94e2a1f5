// Moves field values between engine record buffers and SQLite rows, and
// compares field values the way the indexes order them.
#ifndef VESK_ENGINE_RECORD_CODEC_H
#define VESK_ENGINE_RECORD_CODEC_H

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

#include "engine/catalogue.h"

namespace vesk::engine {

// Fills buffer (record size bytes) from the row's columns first_column ...,
// one per field in field order. Absent values leave zero bytes.
void DecodeRecord(const Catalogue& catalogue, sqlite3_stmt* row, int first_column, uint8_t* buffer);
// Binds the field's value in buffer (NULL when absent) to parameter.
// Blob fields are not bound here.
void BindField(sqlite3_stmt* stmt, int parameter, const Catalogue& catalogue, int32_t field_number,
               const uint8_t* buffer);

bool IsPresent(int32_t field_number, const uint8_t* buffer);
// A text field's value: at most its declared characters, in its slot.
std::string_view TextOf(const Field& field, const uint8_t* buffer);
int32_t IntegerOf(const Field& field, const uint8_t* buffer);
void SetInteger(const Field& field, int32_t value, uint8_t* buffer);

// Order of one field as the indexes sort it: absent first, texts by the
// table's text order, numbers by value.
int CompareField(const Catalogue& catalogue, int32_t field_number, const uint8_t* a, const uint8_t* b,
                 bool case_insensitive);
// Equality for search: a text compares only the first prefix_chars
// characters of the key when prefix_chars > 0.
bool FieldMatches(const Catalogue& catalogue, int32_t field_number, const uint8_t* candidate, const uint8_t* key,
                  bool case_insensitive, int32_t prefix_chars);

}  // namespace vesk::engine

#endif
