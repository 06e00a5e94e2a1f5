#include "tools/csv/csv_import.h"

#include "runtime/exceptions.h"
#include "runtime/utf8_text.h"
#include "toolkit/data/field.h"
#include "tools/csv/cell_text.h"
#include "tools/csv/csv.h"
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
      throw Exception(where + ", column " + fields[column]->FieldName() +
                      ": the table numbers this field itself "
                      "and gives " +
                      numbered + ", not " + cells[column]);
  }
}

void SetCell(TField& field, const std::string& cell) {
  if (field.DataType() == ftString && Utf8Length(cell) > static_cast<size_t>(field.Size()))
    throw Exception("text of " + std::to_string(Utf8Length(cell)) + " characters is longer than the field's " +
                    std::to_string(field.Size()));
  SetCellText(field, cell);
}

// The header row, after the comment lines before it.
bool ReadHeader(CsvReader& reader, std::vector<std::string>& cells) {
  while (reader.ReadRecord(cells)) {
    if (cells.empty() || cells[0].empty() || cells[0][0] != '#') return true;
  }
  return false;
}

void ImportRows(TRadiRidir& table, CsvReader& reader) {
  std::vector<std::string> cells;
  if (!ReadHeader(reader, cells)) throw Exception("The CSV input has no header row");
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

void ImportCsv(TRadiRidir& table, std::istream& in) {
  CsvReader reader(in);
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
