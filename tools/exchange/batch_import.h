// Appending the records of an exchange file to a table: all of them in one
// engine batch or none, with progress for long files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "runtime/exceptions.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {

class TField;
class TRadiRidir;

// Told (done, total) now and then; false stops the import, which then
// changes nothing.
using ImportProgress = std::function<bool(size_t done, size_t total)>;

// Raised when the user stopped the import.
class EImportCancelled : public Exception {
 public:
  EImportCancelled() : Exception("Import abgebrochen, nichts geändert") {}
};

// What an import brought: how many entries came in, and those that could
// not be read, each with its line.
struct ImportResult {
  size_t imported = 0;
  std::vector<ExchangeFault> skipped;

  // "12 Termine importiert", or with skipped entries "12 Termine übernommen,
  // 1 übersprungen: Zeile 40: Termin ohne Beginn" (the first few named).
  std::string Summary(const char* one, const char* many) const;
  // Raises the first skipped entry's fault when none came in: a file of
  // which nothing can be read is refused.
  void RefuseWhenNothingCameIn() const;
};

// "1 Termin", "2 Termine".
std::string Counted(size_t count, const char* one, const char* many);

// Appends count records in one batch; fill(i) sets the fields of the i-th
// (from 0) on the appended record. A failure of a record (a field that
// refuses its value, a required field left empty) is raised as
// EExchangeError at line(i) and undoes every record. The table must be
// open for writing.
void AppendInOneBatch(TRadiRidir& table, size_t count, const std::function<void(size_t)>& fill,
                      const std::function<int(size_t)>& line, const ImportProgress& progress);

// Sets a text field, cut to the field's size when it is longer; false
// when it was cut.
bool SetTextCut(TField& field, const std::string& text);

}  // namespace vesk
