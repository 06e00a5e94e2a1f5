#include "tools/termine/termine_table.h"

#include <filesystem>
#include <system_error>

#include "tools/table/table_definition.h"

namespace vesk {

void CreateTermineTableWhenMissing() {
  std::error_code error;
  if (std::filesystem::exists(kTermineTable, error)) return;
  std::filesystem::create_directories(std::filesystem::path(kTermineTable).parent_path(), error);
  TTableField datum{.name = "Datum", .letter = 'D'};
  datum.constraints[tcRequired] = std::string("1");
  CreateTable(kTermineTable,
              {datum, {.name = "Ort", .letter = 'S', .chars = 50}, {.name = "Uhrzeit", .letter = 'D'},
               {.name = "Bemerkung", .letter = 'M'}},
              {{.name = kTermineIndex, .fields = {0, 2}}});
}

}  // namespace vesk
