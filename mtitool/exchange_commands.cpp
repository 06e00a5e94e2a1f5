// mtitool import-vcard, export-vcard, import-ics, export-ics: the tables
// to and from the files other programs read and write.
#include <ostream>

#include "mtitool/commands.h"
#include "platform/program_folder.h"
#include "runtime/file_io.h"
#include "tools/exchange/address_exchange.h"
#include "tools/exchange/appointment_exchange.h"
#include "tools/settings/alarm_settings.h"
#include "tools/table/RadiRidir.h"

namespace vesk {
namespace {

std::string FileText(const std::string& name) {
  std::optional<std::string> text = ReadFile(name);
  if (!text) throw Exception("Cannot read " + name);
  return std::move(*text);
}

void ImportFile(const Arguments& args, std::ostream& out, const char* command,
                ImportResult (*import)(TRadiRidir&, const std::string&)) {
  if (args.size() != 2) throw UsageError(std::string(command) + " takes a table name and a file");
  const std::string text = FileText(args[1]);
  TRadiRidir table;
  OpenTable(table, args[0], false);
  const ImportResult result = import(table, text);
  out << result.imported << (result.imported == 1 ? " record" : " records") << " imported";
  if (!result.skipped.empty()) out << ", " << result.skipped.size() << " skipped:";
  out << "\n";
  for (const ExchangeFault& fault : result.skipped) out << "  " << fault.Text() << "\n";
}

}  // namespace

void ImportVCardCommand(const Arguments& args, std::ostream& out) {
  ImportFile(args, out, "import-vcard",
             [](TRadiRidir& table, const std::string& text) { return ImportVCards(table, text); });
}

void ImportIcsCommand(const Arguments& args, std::ostream& out) {
  ImportFile(args, out, "import-ics", [](TRadiRidir& table, const std::string& text) {
    return ImportCalendar(table, text, UserTimeZone(), Date());
  });
}

void ExportVCardCommand(const Arguments& args, std::ostream& out) {
  const bool filtered = args.size() == 3 && args[1] == "--filter";
  if (args.size() != 1 && !filtered) throw UsageError("export-vcard takes a table name and optionally --filter TEXT");
  TRadiRidir table;
  OpenTable(table, args[0], true);
  if (filtered) {
    table.SetFilterText(args[2]);
    table.SetFiltered(true);
  }
  out << ExportVCards(table);
}

void ExportIcsCommand(const Arguments& args, std::ostream& out) {
  if (args.size() != 1) throw UsageError("export-ics takes a table name");
  TRadiRidir table;
  OpenTable(table, args[0], true);
  // The lead time the host gives the reminder program, from the host's INI file.
  const AlarmSettings settings = ReadAlarmSettings(ProgramFile("vesktools.ini"));
  out << ExportCalendar(table, UserTimeZone(), settings.leadMinutes);
}

}  // namespace vesk
