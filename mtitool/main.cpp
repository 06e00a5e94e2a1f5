// mtitool: tables from the shell - create, describe, import, export and locate.
#include <clocale>
#include <iostream>

#include "mtitool/commands.h"
#include "platform/regional_settings.h"

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  mtitool create TABLE FIELD:LETTER[:CHARS] ... [--index NAME=FIELD[;FIELD...]]\n"
    "          [--required FIELD] [--default FIELD=TEXT] [--min FIELD=N] [--max FIELD=N]\n"
    "  mtitool info TABLE\n"
    "  mtitool import TABLE FILE.csv     (- reads standard input; lines beginning with # before the header\n"
    "          are comments)\n"
    "  mtitool export TABLE [--index NAME] [--filter TEXT] [--case-insensitive] [--no-partial-compare]\n"
    "  mtitool locate TABLE FIELDS VALUES [--case-insensitive] [--partial-key]   (FIELDS, VALUES: ; between)\n"
    "  mtitool import-vcard TABLE FILE.vcf     mtitool export-vcard TABLE [--filter TEXT]\n"
    "  mtitool import-ics TABLE FILE.ics       mtitool export-ics TABLE\n"
    "Letters: S text (CHARS characters), I integer, A autoincrement, B boolean,\n"
    "F and R floating point, C currency, D date and time, M memo, E formatted memo,\n"
    "G graphic, L blob.\n"
    "Cells of export and import: numbers and dates in the regional formats, exact to the last\n"
    "digit and millisecond; graphic and blob cells in base64.\n";

int Run(const std::string& command, const vesk::Arguments& args) {
  if (command == "create")
    vesk::CreateCommand(args);
  else if (command == "info")
    vesk::InfoCommand(args, std::cout);
  else if (command == "import")
    vesk::ImportCommand(args, std::cin);
  else if (command == "export")
    vesk::ExportCommand(args, std::cout);
  else if (command == "locate")
    return vesk::LocateCommand(args, std::cout) ? 0 : 1;
  else if (command == "import-vcard")
    vesk::ImportVCardCommand(args, std::cout);
  else if (command == "export-vcard")
    vesk::ExportVCardCommand(args, std::cout);
  else if (command == "import-ics")
    vesk::ImportIcsCommand(args, std::cout);
  else if (command == "export-ics")
    vesk::ExportIcsCommand(args, std::cout);
  else
    throw vesk::UsageError("Unknown command " + command);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsage;
    return 2;
  }
  std::setlocale(LC_ALL, "");
  vesk::LoadRegionalSettings();
  try {
    return Run(argv[1], vesk::Arguments(argv + 2, argv + argc));
  } catch (const vesk::UsageError& error) {
    std::cerr << error.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
