// mtitool info: what a table holds, as the engine describes it.
#include <ostream>

#include "mtitool/commands.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/table_description.h"

namespace vesk {

namespace {

constexpr const char* kConstraintNames[] = {"required", "default", "min", "max"};

}  // namespace

void InfoCommand(const Arguments& args, std::ostream& out) {
  if (args.size() != 1) throw UsageError("info takes one table name");
  TRadiRidir table;
  OpenTable(table, args[0], true);
  out << "Table " << args[0] << "\n";
  out << "Fields:\n";
  std::vector<std::string> constraints;
  for (const TTableField& field : DescribeFields(table)) {
    // Text fields by their declared characters, as create takes them.
    out << "  " << field.name << " " << field.letter << " " << (field.letter == 'S' ? field.chars : field.size) << "\n";
    for (size_t kind = 0; kind < field.constraints.size(); ++kind)
      if (field.constraints[kind])
        constraints.push_back(field.name + " " + kConstraintNames[kind] + " " + *field.constraints[kind]);
  }
  out << "Indexes:\n";
  for (const std::string& name : IndexNames(table)) out << "  " << name << "\n";
  out << "Constraints:\n";
  for (const std::string& line : constraints) out << "  " << line << "\n";
  out << "Records: " << table.RecordCount() << "\n";
}

}  // namespace vesk
