// mtitool export: the records as CSV, each cell the field's display text.
#include <ostream>

#include "mtitool/commands.h"
#include "mtitool/csv.h"
#include "toolkit/field.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

void ExportCommand(const Arguments& args, std::ostream& out) {
  if (args.size() != 1 && !(args.size() == 3 && args[1] == "--index"))
    throw UsageError("export takes a table name and optionally --index NAME");
  TRadiRidir table;
  OpenTable(table, args[0], true);
  if (args.size() == 3) table.SetIndexName(args[2]);
  std::vector<std::string> cells;
  for (int i = 0; i < table.FieldCount(); ++i) cells.push_back(table.Fields(i)->FieldName());
  out << CsvRecord(cells);
  for (table.First(); !table.Eof(); table.Next()) {
    cells.clear();
    for (int i = 0; i < table.FieldCount(); ++i) cells.push_back(table.Fields(i)->DisplayText());
    out << CsvRecord(cells);
  }
}

}  // namespace vesk
