// What a table is made of - its fields with their constraints and its
// indexes - and the making of a new table file from that.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

// The constraints a field may carry, in the engine's order.
enum TTableConstraint { tcRequired, tcDefault, tcMin, tcMax };
inline constexpr int32_t kTableConstraintCount = 4;

struct TTableField {
  std::string name;
  char letter = 0;    // the engine's type letter (see MTcomm.h)
  int32_t chars = 0;  // the declared characters of a text ('S') field
  int32_t size = 0;   // the field's bytes in a record; described, never asked when creating
  // By TTableConstraint; absent when the field has none of that kind. A
  // required text other than "" makes the field required.
  std::array<std::optional<std::string>, kTableConstraintCount> constraints{};
};

struct TTableIndex {
  std::string name;
  std::vector<int32_t> fields;  // field numbers from 0, the first orders first
  bool caseInsensitive = false;
};

// The file the engine opens for a table name, which may separate its
// folders with "\\" ("Data\\Tarife.mti" is Data/Tarife.mti).
std::string TableFilePath(std::string name);
// Whether that file exists as a regular file.
bool TableFileExists(const std::string& name);

// Creates the table file name with the fields and indexes. ERadiRidirError
// with the engine's text when the file exists, cannot be written, or the
// description is refused.
void CreateTable(const std::string& name, const std::vector<TTableField>& fields,
                 const std::vector<TTableIndex>& indexes);

}  // namespace vesk
