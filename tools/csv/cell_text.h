// The text of a field in a CSV cell, as export writes it and import reads it
// back to the same value. Display formats play no part: numbers are written
// in their shortest form that reads back exactly, dates with a four-digit
// year and the time of day to the millisecond (a time alone without the
// date, a date at midnight without the time), blobs in base64, all in the
// regional formats that import reads with.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

class TField;

// Empty for an empty field.
std::string CellText(const TField& field);
// What CellText wrote (and what a person types: "1,5", "24.12.2026 18:30");
// an empty text clears the field. Raises the field's conversion errors.
void SetCellText(TField& field, std::string_view text);

}  // namespace vesk
