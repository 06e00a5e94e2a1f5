// The commands of mtitool. Each takes the arguments after its name and
// raises UsageError for a command line that does not fit and any other
// exception (with its message) for a failure.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "runtime/exceptions.h"

namespace vesk {

class TRadiRidir;

class UsageError : public Exception {
 public:
  using Exception::Exception;
};

using Arguments = std::vector<std::string>;

// create TABLE FIELD:LETTER[:CHARS] ... [--index NAME=FIELD[;FIELD...]]
//   [--required FIELD] [--default FIELD=TEXT] [--min FIELD=N] [--max FIELD=N]
void CreateCommand(const Arguments& args);
// info TABLE: fields, indexes, constraints and record count.
void InfoCommand(const Arguments& args, std::ostream& out);
// import TABLE FILE.csv ("-": in): all rows or none. Cells as export writes
// them (cell_text.h); an autoincrement column must match the numbers the
// table gives.
void ImportCommand(const Arguments& args, std::istream& in);
// export TABLE [--index NAME] [--filter TEXT] [--case-insensitive]
//   [--no-partial-compare]: CSV of the values in dataset order, as import
//   reads them back, only the records the filter passes.
void ExportCommand(const Arguments& args, std::ostream& out);
// locate TABLE FIELDS VALUES [--case-insensitive] [--partial-key]: the record
// found, as export writes it; false (and "not found") when there is none.
bool LocateCommand(const Arguments& args, std::ostream& out);

// import-vcard TABLE FILE, import-ics TABLE FILE: every address card or
// appointment of the file, all or none; tells how many on out.
void ImportVCardCommand(const Arguments& args, std::ostream& out);
void ImportIcsCommand(const Arguments& args, std::ostream& out);
// export-vcard TABLE [--filter TEXT]: vCard 3.0 of the records the filter
// passes. export-ics TABLE: an iCalendar file of the appointments, with a
// reminder the host's lead time before each.
void ExportVCardCommand(const Arguments& args, std::ostream& out);
void ExportIcsCommand(const Arguments& args, std::ostream& out);

// sync-vcard TABLE: one sync of the table with the host account's address
// book; prints the summary. sync-ics TABLE: the same with its calendar;
// when the table is the program folder's Data/termine.mti, the reminder
// list termine.sav is written again, as the host writes it.
void SyncVCardCommand(const Arguments& args, std::ostream& out);
void SyncIcsCommand(const Arguments& args, std::ostream& out);

// Opens the table for the commands that work through the dataset.
void OpenTable(TRadiRidir& table, const std::string& name, bool readOnly);

}  // namespace vesk
