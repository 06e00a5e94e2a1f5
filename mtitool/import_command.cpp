// mtitool import: CSV rows into a table, all of them or none.
#include <fstream>
#include <istream>

#include "mtitool/commands.h"
#include "tools/csv/csv_import.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

void ImportCommand(const Arguments& args, std::istream& in) {
  if (args.size() != 2) throw UsageError("import takes a table name and a CSV file (- for standard input)");
  std::ifstream file;
  if (args[1] != "-") {
    file.open(args[1], std::ios::binary);
    if (!file) throw Exception("Cannot read " + args[1]);
  }
  TRadiRidir table;
  OpenTable(table, args[0], false);
  ImportCsv(table, args[1] == "-" ? in : file);
}

}  // namespace vesk
