// What an open table holds, as the engine describes it: its fields with
// their constraints and the names of its indexes.
#pragma once

#include <string>
#include <vector>

#include "tools/table/table_definition.h"

namespace vesk {

class TRadiRidir;

// The fields of the open table in their order, with the constraints as the
// engine keeps their texts. ERadiRidirError when the engine fails.
std::vector<TTableField> DescribeFields(const TRadiRidir& table);
// The names of the open table's indexes in their order; the table is left
// in its identity order.
std::vector<std::string> IndexNames(const TRadiRidir& table);

}  // namespace vesk
