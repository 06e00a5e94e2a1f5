// The persistent fields a window gives its table, named after table and
// field as the windows' components are.
#pragma once

#include <string>

#include "tools/table/RadiRidir.h"

namespace vesk {

template <class Field>
Field* NewField(TRadiRidir& table, const std::string& fieldName) {
  auto* field = new Field(&table);
  field->SetName(table.Name() + fieldName);
  field->SetFieldName(fieldName);
  return field;
}

}  // namespace vesk
