// mtitool: tables from the shell - create, describe, import, export and locate.
#include <algorithm>
#include <clocale>
#include <cstddef>
#include <iostream>
#include <iterator>
#include <string>

#include "mtitool/commands.h"
#include "platform/regional_settings.h"

namespace {

using vesk::Arguments;

// Where a command's synopsis stands in the usage text: on lines of its own,
// or, for the short ones that come in pairs, in the left or the right half
// of one line.
enum class Place { kOwnLines, kLeft, kRight };

struct Command {
  const char* name;
  // After "mtitool " in the usage text; a continuation line starts with
  // "\n" and the indent.
  const char* synopsis;
  Place place;
  // The exit code of a command that worked.
  int (*run)(const Arguments& args);
};

constexpr Command kCommands[] = {
    {"create",
     "create TABLE FIELD:LETTER[:CHARS] ... [--index NAME=FIELD[;FIELD...]]\n"
     "          [--required FIELD] [--default FIELD=TEXT] [--min FIELD=N] [--max FIELD=N]",
     Place::kOwnLines,
     [](const Arguments& args) {
       vesk::CreateCommand(args);
       return 0;
     }},
    {"info", "info TABLE", Place::kOwnLines,
     [](const Arguments& args) {
       vesk::InfoCommand(args, std::cout);
       return 0;
     }},
    {"import",
     "import TABLE FILE.csv     (- reads standard input; lines beginning with # before the header\n"
     "          are comments)",
     Place::kOwnLines,
     [](const Arguments& args) {
       vesk::ImportCommand(args, std::cin);
       return 0;
     }},
    {"export", "export TABLE [--index NAME] [--filter TEXT] [--case-insensitive] [--no-partial-compare]",
     Place::kOwnLines,
     [](const Arguments& args) {
       vesk::ExportCommand(args, std::cout);
       return 0;
     }},
    {"locate", "locate TABLE FIELDS VALUES [--case-insensitive] [--partial-key]   (FIELDS, VALUES: ; between)",
     Place::kOwnLines, [](const Arguments& args) { return vesk::LocateCommand(args, std::cout) ? 0 : 1; }},
    {"import-vcard", "import-vcard TABLE FILE.vcf", Place::kLeft,
     [](const Arguments& args) {
       vesk::ImportVCardCommand(args, std::cout);
       return 0;
     }},
    {"export-vcard", "export-vcard TABLE [--filter TEXT]", Place::kRight,
     [](const Arguments& args) {
       vesk::ExportVCardCommand(args, std::cout);
       return 0;
     }},
    {"import-ics", "import-ics TABLE FILE.ics", Place::kLeft,
     [](const Arguments& args) {
       vesk::ImportIcsCommand(args, std::cout);
       return 0;
     }},
    {"export-ics", "export-ics TABLE", Place::kRight,
     [](const Arguments& args) {
       vesk::ExportIcsCommand(args, std::cout);
       return 0;
     }},
    {"sync-vcard", "sync-vcard TABLE     (with the address book of section Abgleich of vesktools.ini)",
     Place::kOwnLines,
     [](const Arguments& args) {
       vesk::SyncVCardCommand(args, std::cout);
       return 0;
     }},
    {"sync-ics", "sync-ics TABLE       (with the calendar of section Abgleich of vesktools.ini)", Place::kOwnLines,
     [](const Arguments& args) {
       vesk::SyncIcsCommand(args, std::cout);
       return 0;
     }},
};

// The column at which the right half of a shared line begins, one blank
// after the left half at least.
constexpr std::size_t kRightHalf = 42;

constexpr const char* kUsageNotes =
    "Letters: S text (CHARS characters), I integer, A autoincrement, B boolean,\n"
    "F and R floating point, C currency, D date and time, M memo, E formatted memo,\n"
    "G graphic, L blob.\n"
    "Cells of export and import: numbers and dates in the regional formats, exact to the last\n"
    "digit and millisecond; graphic and blob cells in base64.\n";

std::string Usage() {
  std::string text = "Usage:\n";
  std::string line;
  for (const Command& command : kCommands) {
    if (command.place == Place::kRight) {
      line.resize(std::max(line.size() + 1, kRightHalf), ' ');
      line += "mtitool ";
    } else {
      line = "  mtitool ";
    }
    line += command.synopsis;
    if (command.place != Place::kLeft) text += line + "\n";
  }
  return text + kUsageNotes;
}

int Run(const std::string& name, const Arguments& args) {
  const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&name](const Command& candidate) { return name == candidate.name; });
  if (command == std::end(kCommands)) throw vesk::UsageError("Unknown command " + name);
  return command->run(args);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << Usage();
    return 2;
  }
  std::setlocale(LC_ALL, "");
  vesk::LoadRegionalSettings();
  try {
    return Run(argv[1], Arguments(argv + 2, argv + argc));
  } catch (const vesk::UsageError& error) {
    std::cerr << error.what() << "\n" << Usage();
    return 2;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
