#include "mtitool/commands.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

void OpenTable(TRadiRidir& table, const std::string& name, bool readOnly) {
  table.SetTableName(name);
  table.SetReadOnly(readOnly);
  table.Open();
}

}  // namespace vesk
