#include "tools/csv/csv.h"

#include "runtime/exceptions.h"

namespace vesk {

bool CsvReader::ReadRecord(std::vector<std::string>& cells) {
  cells.clear();
  if (in_.peek() == std::char_traits<char>::eof()) return false;
  std::string cell;
  bool quoted = false;
  for (;;) {
    const int c = in_.get();
    if (c == std::char_traits<char>::eof()) {
      if (quoted) throw EConvertError("Quoted cell not closed at the end of the input");
      break;
    }
    if (quoted) {
      if (c != '"')
        cell += static_cast<char>(c);
      else if (in_.peek() == '"')
        cell += static_cast<char>(in_.get());
      else
        quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.push_back(std::move(cell));
      cell.clear();
    } else if (c == '\n') {
      break;
    } else if (c == '\r' && in_.peek() == '\n') {
      in_.get();
      break;
    } else {
      cell += static_cast<char>(c);
    }
  }
  cells.push_back(std::move(cell));
  return true;
}

std::string CsvRecord(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    const std::string& cell = cells[i];
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
      line += cell;
      continue;
    }
    line += '"';
    for (char c : cell) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  return line + "\r\n";
}

}  // namespace vesk
