// mtitool info: what a table holds, as the engine describes it.
#include <ostream>

#include "mtitool/commands.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirError.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {

namespace {

constexpr const char* kConstraintNames[] = {"required", "default", "min", "max"};

// Index numbers count from 1 (0 is the identity order); the engine refuses
// the first number past the last index.
std::vector<std::string> IndexNames(const TRadiRidir& table) {
  std::vector<std::string> names;
  for (int32_t number = 1; rr_select_index(table.Handle(), number); ++number) {
    uint8_t name[256] = {};
    rr_index_name(name, table.Handle());
    names.push_back(FromEngineText(name));
  }
  rr_select_index(table.Handle(), 0);
  return names;
}

}  // namespace

void InfoCommand(const Arguments& args, std::ostream& out) {
  if (args.size() != 1) throw UsageError("info takes one table name");
  TRadiRidir table;
  OpenTable(table, args[0], true);
  const int32_t h = table.Handle();
  out << "Table " << args[0] << "\n";
  out << "Fields:\n";
  const int32_t count = rr_field_count(h);
  std::vector<std::string> constraints;
  for (int32_t i = 0; i < count; ++i) {
    uint8_t name[256] = {};
    int32_t offset = 0, size = 0;
    uint8_t letter = 0;
    rr_field_name(name, h, i);
    if (!rr_field_info(h, i, &offset, &size, &letter)) throw EngineError(h);
    const std::string fieldName = FromEngineText(name);
    // Text fields by their declared characters, as create takes them.
    out << "  " << fieldName << " " << static_cast<char>(letter) << " " << (letter == 'S' ? RR_TEXT_CHARS(size) : size)
        << "\n";
    for (int32_t kind = RR_CONSTRAINT_REQUIRED; kind <= RR_CONSTRAINT_MAX; ++kind) {
      rr_bool present = 0;
      uint8_t text[256] = {};
      if (!rr_constraint(h, i, kind, &present, text, 255)) throw EngineError(h);
      if (present) constraints.push_back(fieldName + " " + kConstraintNames[kind] + " " + FromEngineText(text));
    }
  }
  out << "Indexes:\n";
  for (const std::string& name : IndexNames(table)) out << "  " << name << "\n";
  out << "Constraints:\n";
  for (const std::string& line : constraints) out << "  " << line << "\n";
  out << "Records: " << table.RecordCount() << "\n";
}

}  // namespace vesk
