// mtitool create: a new table from field declarations and options.
#include <map>

#include "engine/radiridir.h"
#include "mtitool/commands.h"
#include "runtime/conversions.h"
#include "tools/table/MTcomm.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {

namespace {

// What the command line declares for one field; texts live on in here while
// the engine reads the C structures that point into them.
struct FieldDeclaration {
  std::string name;
  char letter = 0;
  int32_t chars = 0;
  std::map<std::string, std::string> constraints;  // "required", "default", "min", "max"
};

struct IndexDeclaration {
  std::string name;
  std::vector<int32_t> fields;
};

bool IsFieldLetter(char letter) {
  for (const TmtFieldRecord& type : kMTFieldTypes)
    if (type.Letter == letter && letter != 'X') return true;
  return false;
}

FieldDeclaration ParseField(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0) throw UsageError("Field declaration " + text + " lacks its letter");
  FieldDeclaration field;
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

size_t FieldIndex(const std::vector<FieldDeclaration>& fields, const std::string& name) {
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
  std::vector<FieldDeclaration> fields;
  std::vector<IndexDeclaration> indexes;
  size_t i = 1;
  for (; i < args.size() && args[i].rfind("--", 0) != 0; ++i) fields.push_back(ParseField(args[i]));
  if (fields.empty()) throw UsageError("create needs at least one field");
  for (; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) throw UsageError(option + " needs a value");
    const std::string& value = args[++i];
    if (option == "--index") {
      auto [name, list] = SplitAssignment(option, value);
      IndexDeclaration index{name, {}};
      size_t start = 0;
      for (;;) {
        const size_t semicolon = list.find(';', start);
        index.fields.push_back(static_cast<int32_t>(FieldIndex(fields, list.substr(start, semicolon - start))));
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
      }
      indexes.push_back(std::move(index));
    } else if (option == "--required") {
      fields[FieldIndex(fields, value)].constraints.insert_or_assign("required", std::string("1"));
    } else if (option == "--default" || option == "--min" || option == "--max") {
      auto [name, text] = SplitAssignment(option, value);
      fields[FieldIndex(fields, name)].constraints.insert_or_assign(option.substr(2), text);
    } else {
      throw UsageError("Unknown option " + option);
    }
  }

  auto constraint = [](const FieldDeclaration& field, const char* kind) -> const char* {
    auto found = field.constraints.find(kind);
    return found == field.constraints.end() ? nullptr : found->second.c_str();
  };
  std::vector<rr_field_spec> fieldSpecs;
  for (const FieldDeclaration& field : fields)
    fieldSpecs.push_back({field.name.c_str(), field.letter, field.chars, constraint(field, "required"),
                          constraint(field, "default"), constraint(field, "min"), constraint(field, "max")});
  std::vector<rr_index_spec> indexSpecs;
  for (const IndexDeclaration& index : indexes)
    indexSpecs.push_back({index.name.c_str(), index.fields.data(), static_cast<int32_t>(index.fields.size()), 0});

  const int32_t handle = rr_new(0);
  struct Release {
    int32_t handle;
    ~Release() { rr_free(handle); }
  } release{handle};
  if (rr_create(handle, table.c_str(), fieldSpecs.data(), static_cast<int32_t>(fieldSpecs.size()),
                indexSpecs.data(), static_cast<int32_t>(indexSpecs.size())) < 0)
    throw EngineError(handle);
}

}  // namespace vesk
