#include "tools/table/table_definition.h"

#include <filesystem>
#include <system_error>

#include "engine/radiridir.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {

std::string TableFilePath(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

bool TableFileExists(const std::string& name) {
  std::error_code error;
  return std::filesystem::is_regular_file(TableFilePath(name), error);
}

namespace {

const char* TextOrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

// An engine handle for one call, freed however the call ends.
class TemporaryHandle {
 public:
  TemporaryHandle() : handle_(rr_new(0)) {}
  ~TemporaryHandle() { rr_free(handle_); }
  TemporaryHandle(const TemporaryHandle&) = delete;
  TemporaryHandle& operator=(const TemporaryHandle&) = delete;
  int32_t Get() const { return handle_; }

 private:
  int32_t handle_;
};

}  // namespace

void CreateTable(const std::string& name, const std::vector<TTableField>& fields,
                 const std::vector<TTableIndex>& indexes) {
  // The engine reads C structures that point into fields and indexes.
  std::vector<rr_field_spec> fieldSpecs;
  fieldSpecs.reserve(fields.size());
  for (const TTableField& field : fields)
    fieldSpecs.push_back({field.name.c_str(), field.letter, field.chars, TextOrNull(field.constraints[tcRequired]),
                          TextOrNull(field.constraints[tcDefault]), TextOrNull(field.constraints[tcMin]),
                          TextOrNull(field.constraints[tcMax])});
  std::vector<rr_index_spec> indexSpecs;
  indexSpecs.reserve(indexes.size());
  for (const TTableIndex& index : indexes)
    indexSpecs.push_back({index.name.c_str(), index.fields.data(), static_cast<int32_t>(index.fields.size()),
                          static_cast<rr_bool>(index.caseInsensitive)});
  const TemporaryHandle handle;
  // The error text goes with the handle.
  if (rr_create(handle.Get(), name.c_str(), fieldSpecs.data(), static_cast<int32_t>(fieldSpecs.size()),
                indexSpecs.data(), static_cast<int32_t>(indexSpecs.size())) < 0)
    throw EngineError(handle.Get());
}

}  // namespace vesk
