// Making a new table file from field and index descriptions.
#ifndef VESK_ENGINE_TABLE_CREATE_H
#define VESK_ENGINE_TABLE_CREATE_H

#include <string>

#include "engine/catalogue.h"
#include "engine/radiridir.h"

namespace vesk::engine {

// The index a description gives (number names it in failures); throws
// EngineError when it is incomplete.
Index DescribeIndex(const rr_index_spec& given, int32_t number);
// Makes the table file path ("/" between folders). Throws EngineError when
// the descriptions are faulty, the file exists or cannot be written; a
// half-made file is removed.
void CreateTable(const std::string& path, const rr_field_spec* fields, int32_t field_count,
                 const rr_index_spec* indexes, int32_t index_count);

}  // namespace vesk::engine

#endif
