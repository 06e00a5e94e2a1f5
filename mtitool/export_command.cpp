// mtitool export and locate: records as CSV, each cell the field's value as
// import reads it back.
#include <ostream>

#include "mtitool/commands.h"
#include "toolkit/data/field.h"
#include "tools/csv/cell_text.h"
#include "tools/csv/csv.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

namespace {

std::vector<std::string> SplitAtSemicolons(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(';', start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

void WriteHeader(TRadiRidir& table, std::ostream& out) {
  std::vector<std::string> cells;
  for (int i = 0; i < table.FieldCount(); ++i) cells.push_back(table.Fields(i)->FieldName());
  out << CsvRecord(cells);
}

void WriteCurrent(TRadiRidir& table, std::ostream& out) {
  std::vector<std::string> cells;
  for (int i = 0; i < table.FieldCount(); ++i) cells.push_back(CellText(*table.Fields(i)));
  out << CsvRecord(cells);
}

}  // namespace

void ExportCommand(const Arguments& args, std::ostream& out) {
  constexpr const char* kUsage =
      "export takes a table name and optionally --index NAME, --filter TEXT, --case-insensitive, "
      "--no-partial-compare";
  if (args.empty() || args[0].starts_with("--")) throw UsageError(kUsage);
  std::string index;
  std::string filter;
  bool filtered = false;
  TFilterOptions options = 0;
  for (size_t i = 1; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--index" && hasValue) {
      index = args[++i];
    } else if (args[i] == "--filter" && hasValue) {
      filter = args[++i];
      filtered = true;
    } else if (args[i] == "--case-insensitive") {
      options |= foCaseInsensitive;
    } else if (args[i] == "--no-partial-compare") {
      options |= foNoPartialCompare;
    } else {
      throw UsageError(kUsage);
    }
  }
  TRadiRidir table;
  OpenTable(table, args[0], true);
  if (!index.empty()) table.SetIndexName(index);
  table.SetFilterOptions(options);
  table.SetFilterText(filter);
  // A filter text that does not parse or prepare fails here with its message.
  table.SetFiltered(filtered);
  WriteHeader(table, out);
  for (table.First(); !table.Eof(); table.Next()) WriteCurrent(table, out);
}

bool LocateCommand(const Arguments& args, std::ostream& out) {
  constexpr const char* kUsage =
      "locate takes a table name, FIELDS and VALUES (each separated by ;) and optionally "
      "--case-insensitive, --partial-key";
  if (args.size() < 3) throw UsageError(kUsage);
  TLocateOptions options = 0;
  for (size_t i = 3; i < args.size(); ++i) {
    if (args[i] == "--case-insensitive")
      options |= loCaseInsensitive;
    else if (args[i] == "--partial-key")
      options |= loPartialKey;
    else
      throw UsageError(kUsage);
  }
  const std::vector<std::string> fields = SplitAtSemicolons(args[1]);
  const std::vector<std::string> values = SplitAtSemicolons(args[2]);
  if (fields.size() != values.size())
    throw UsageError("locate needs as many values as fields (" + std::to_string(fields.size()) + ")");
  Variant keys;
  if (values.size() == 1) {
    keys = Variant(values[0]);
  } else {
    std::vector<Variant> items(values.begin(), values.end());
    keys = Variant::FromArray(std::move(items));
  }
  TRadiRidir table;
  OpenTable(table, args[0], true);
  if (!table.Locate(args[1], keys, options)) {
    out << "not found\n";
    return false;
  }
  WriteHeader(table, out);
  WriteCurrent(table, out);
  return true;
}

}  // namespace vesk
