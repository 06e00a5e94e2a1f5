// mtitool create: a new table from field declarations and options.
#include "mtitool/commands.h"
#include "runtime/conversions.h"
#include "tools/table/MTcomm.h"
#include "tools/table/table_definition.h"

namespace vesk {

namespace {

bool IsFieldLetter(char letter) {
  for (const TmtFieldRecord& type : kMTFieldTypes)
    if (type.Letter == letter && letter != 'X') return true;
  return false;
}

TTableField ParseField(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0) throw UsageError("Field declaration " + text + " lacks its letter");
  TTableField field;
  field.name = text.substr(0, colon);
  const std::string rest = UpperCase(text.substr(colon + 1));
  if (rest.empty() || !IsFieldLetter(rest[0]) || (rest.size() > 1 && rest[1] != ':'))
    throw UsageError("Unknown field type in " + text);
  field.letter = rest[0];
  if (field.letter == 'S') {
    if (rest.size() < 3 || !TryStrToInt(rest.substr(2), field.chars) || field.chars < 1 || field.chars > 254)
      throw UsageError("Text field " + field.name + " needs its length (1 to 254): NAME:S:CHARS");
  } else if (rest.size() > 1) {
    throw UsageError("Only text fields take a length: " + text);
  }
  return field;
}

size_t FieldIndex(const std::vector<TTableField>& fields, const std::string& name) {
  for (size_t i = 0; i < fields.size(); ++i)
    if (UpperCase(fields[i].name) == UpperCase(name)) return i;
  throw UsageError("No field named " + name);
}

// "NAME=VALUE" split at the first "=".
std::pair<std::string, std::string> SplitAssignment(const std::string& option, const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) throw UsageError(option + " takes NAME=VALUE, not " + text);
  return {text.substr(0, equals), text.substr(equals + 1)};
}

}  // namespace

void CreateCommand(const Arguments& args) {
  if (args.empty()) throw UsageError("create needs a table name");
  const std::string& table = args[0];
  std::vector<TTableField> fields;
  std::vector<TTableIndex> indexes;
  size_t i = 1;
  for (; i < args.size() && args[i].rfind("--", 0) != 0; ++i) fields.push_back(ParseField(args[i]));
  if (fields.empty()) throw UsageError("create needs at least one field");
  for (; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) throw UsageError(option + " needs a value");
    const std::string& value = args[++i];
    if (option == "--index") {
      auto [name, list] = SplitAssignment(option, value);
      TTableIndex index{name, {}, false};
      size_t start = 0;
      for (;;) {
        const size_t semicolon = list.find(';', start);
        index.fields.push_back(static_cast<int32_t>(FieldIndex(fields, list.substr(start, semicolon - start))));
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
      }
      indexes.push_back(std::move(index));
    } else if (option == "--required") {
      fields[FieldIndex(fields, value)].constraints[tcRequired] = std::string("1");
    } else if (option == "--default" || option == "--min" || option == "--max") {
      auto [name, text] = SplitAssignment(option, value);
      const TTableConstraint kind = option == "--default" ? tcDefault : option == "--min" ? tcMin : tcMax;
      fields[FieldIndex(fields, name)].constraints[kind] = text;
    } else {
      throw UsageError("Unknown option " + option);
    }
  }

  CreateTable(table, fields, indexes);
}

}  // namespace vesk
