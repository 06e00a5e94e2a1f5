// CSV as RFC 4180 has it: comma-separated cells, a cell in double quotes may
// hold commas, line breaks and doubled quotes; records end with CRLF (a bare
// LF is read as well).
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace vesk {

class CsvReader {
 public:
  explicit CsvReader(std::istream& in) : in_(in) {}
  // The next record's cells; false at the end of the input. A quoted cell
  // left open at the end raises EConvertError.
  bool ReadRecord(std::vector<std::string>& cells);

 private:
  std::istream& in_;
};

// One record with its line end; cells are quoted when they need it.
std::string CsvRecord(const std::vector<std::string>& cells);

}  // namespace vesk
