// The engine side of a TRadiRidir, for the table layer's own files and its
// tests only: the engine's C interface and the dataset's engine handle.
// Windows and tools reach a table through the dataset and the table layer's
// operations (table_definition.h, table_description.h, RadiRidirBatch.h).
#pragma once

#include <cstdint>

#include "engine/radiridir.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

class TRadiRidirEngine {
 public:
  // The engine handle, held from the dataset's creation to its destruction.
  static int32_t Handle(const TRadiRidir& table) { return table.handle_; }
};

}  // namespace vesk
