// MTcomm: what the table layer knows about the engine's field types - the
// catalogue of type letters, the field type each letter becomes, and the
// conversion of a default value's text into an engine record.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/exceptions.h"
#include "toolkit/data/db_types.h"

namespace vesk {

struct TmtFieldRecord {
  char Letter;
  const char* Name;
  int32_t Size;  // the catalogue's size; the engine's reported size governs
};

inline constexpr std::array<TmtFieldRecord, 13> kMTFieldTypes = {{
    {'X', "Unknown", 255},
    {'B', "Boolean", 2},
    {'C', "Currency", 8},
    {'D', "DateTime", 8},
    {'F', "Float", 8},
    {'I', "Integer", 4},
    {'R', "Real", 6},
    {'S', "String", 255},
    {'A', "AutoInc", 4},
    {'L', "Untyped blob", 4},
    {'G', "Graphic", 4},
    {'M', "Memo", 4},
    {'E', "Rich Memo", 4},
}};

// A default value that does not fit its field's type.
class EMTBError : public Exception {
 public:
  using Exception::Exception;
};

// The toolkit's field type of an engine type letter (ftUnknown for others).
TFieldType FieldTypeOfLetter(char letter);

// Converts a default value's text by the field's letter into size bytes at
// data. EMTBError for a boolean word other than TRUE/FALSE and for letters
// without a text form (blobs); the runtime's EConvertError for numbers and
// dates that do not read. A text is cut to the characters its slot of size
// bytes is declared for, never inside a character.
void WriteDefaultValue(char letter, std::string_view text, uint8_t* data, int32_t size);

}  // namespace vesk
