// The fuzz target of the CSV reader, the way mtitool import uses it: any
// bytes as a CSV file, every record read, written again and read back, and
// every cell set as the text of a field of an address table, as import does.
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_entry.h"
#include "runtime/exceptions.h"
#include "tests/tools/filter/address_rows.h"
#include "toolkit/data/field.h"
#include "tools/csv/csv.h"

namespace vesk {
namespace {

// A record written by CsvRecord reads back as the same cells.
void CheckWrittenForm(const std::vector<std::string>& cells) {
  std::istringstream written(CsvRecord(cells));
  CsvReader reader(written);
  std::vector<std::string> again;
  if (!reader.ReadRecord(again) || again != cells) FuzzRuleBroken("a written record reads back differently");
  if (reader.ReadRecord(again)) FuzzRuleBroken("a written record reads as more than one");
}

// A text a field accepted gives back a text the field accepts as the same value.
void SetCell(TField& field, const std::string& cell) {
  try {
    if (cell.empty())
      field.Clear();
    else
      field.SetText(cell);
  } catch (const Exception&) {
    return;  // import reports the cell
  }
  const std::string text = field.Text();
  try {
    field.SetText(text);
  } catch (const Exception&) {
    if (!text.empty()) FuzzRuleBroken("a field refuses its own text");
    return;
  }
  if (field.Text() != text) FuzzRuleBroken("a field's text changes when set again");
}

}  // namespace

void FuzzOneInput(const uint8_t* data, size_t size) {
  TMemoryDataSet* dataset = &SharedAddresses();
  std::vector<TField*> fields;
  for (int i = 0; i < dataset->FieldCount(); ++i) {
    if (dataset->Fields(i)->FieldKind() == fkData) fields.push_back(dataset->Fields(i));
  }

  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  CsvReader reader(in);
  std::vector<std::string> cells;
  for (;;) {
    try {
      if (!reader.ReadRecord(cells)) break;
    } catch (const EConvertError&) {
      break;  // a quoted cell left open at the end
    }
    if (cells.empty()) FuzzRuleBroken("a record without cells");
    CheckWrittenForm(cells);
    dataset->Append();
    for (size_t column = 0; column < cells.size(); ++column) SetCell(*fields[column % fields.size()], cells[column]);
    dataset->Cancel();
  }
}

}  // namespace vesk
