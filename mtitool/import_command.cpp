// mtitool import: CSV rows into a table, all of them or none.
#include <fstream>
#include <istream>

#include "mtitool/cell_text.h"
#include "mtitool/commands.h"
#include "mtitool/csv.h"
#include "runtime/utf8_text.h"
#include "toolkit/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirBatch.h"

namespace vesk {

namespace {

// The table numbers an autoincrement field itself: a row whose number it
// would not get is refused rather than imported under another number.
void CheckNumbering(const std::vector<TField*>& fields, const std::vector<std::string>& cells,
                    const std::string& where) {
  for (size_t column = 0; column < fields.size(); ++column) {
    if (fields[column]->DataType() != ftAutoInc || cells[column].empty()) continue;
    const std::string numbered = CellText(*fields[column]);
    if (numbered != cells[column])
      throw Exception(where + ", column " + fields[column]->FieldName() + ": the table numbers this field itself "
                      "and gives " + numbered + ", not " + cells[column]);
  }
}

// A text longer than its field is refused rather than cut.
void SetCell(TField& field, const std::string& cell) {
  if (field.DataType() == ftString && Utf8Length(cell) > static_cast<size_t>(field.Size()))
    throw Exception("text of " + std::to_string(Utf8Length(cell)) + " characters is longer than the field's " +
                    std::to_string(field.Size()));
  SetCellText(field, cell);
}

// Appends one record per row; a failure names its row (from 1 after the
// header) and, where one cell is at fault, its column.
void ImportRows(TRadiRidir& table, CsvReader& reader) {
  std::vector<std::string> cells;
  if (!reader.ReadRecord(cells)) throw Exception("The CSV input has no header row");
  std::vector<TField*> fields;
  for (const std::string& name : cells) fields.push_back(table.FieldByName(name));
  for (int row = 1; reader.ReadRecord(cells); ++row) {
    const std::string where = "Row " + std::to_string(row);
    if (cells.size() != fields.size())
      throw Exception(where + " has " + std::to_string(cells.size()) + " cells, the header names " +
                      std::to_string(fields.size()));
    table.Append();
    for (size_t column = 0; column < fields.size(); ++column) {
      if (fields[column]->DataType() == ftAutoInc) continue;
      try {
        SetCell(*fields[column], cells[column]);
      } catch (const std::exception& error) {
        throw Exception(where + ", column " + fields[column]->FieldName() + ": " + error.what());
      }
    }
    try {
      table.Post();
    } catch (const std::exception& error) {
      throw Exception(where + ": " + error.what());
    }
    CheckNumbering(fields, cells, where);
  }
}

}  // namespace

void ImportCommand(const Arguments& args, std::istream& in) {
  if (args.size() != 2) throw UsageError("import takes a table name and a CSV file (- for standard input)");
  std::ifstream file;
  if (args[1] != "-") {
    file.open(args[1], std::ios::binary);
    if (!file) throw Exception("Cannot read " + args[1]);
  }
  CsvReader reader(args[1] == "-" ? in : file);
  TRadiRidir table;
  OpenTable(table, args[0], false);
  TRadiRidirBatch batch(table);
  try {
    ImportRows(table, reader);
  } catch (...) {
    // The record a row left unfinished goes before the batch is undone.
    if (table.State() != dsBrowse) table.Cancel();
    throw;
  }
  batch.Commit();
}

}  // namespace vesk
