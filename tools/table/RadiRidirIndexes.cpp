// TRadiRidir index upkeep: a table made by hand or by an older version may
// lack an index its window expects; opened for writing, it gets it.
#include "engine/radiridir.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {

void TRadiRidir::AddIndexWhenMissing(const std::string& name, std::string_view fieldNames, bool caseInsensitive) {
  CheckBrowseMode();
  if (!GetCanModify() || rr_index_number(handle_, ToEngineText(name).data()) >= 0) return;
  std::vector<int32_t> numbers;
  for (TField* field : GetFieldList(fieldNames)) {
    if (field->FieldKind() != fkData) DatabaseError(field->FieldName() + " cannot be an index field.");
    numbers.push_back(field->FieldNo() - 1);
  }
  const rr_index_spec index{name.c_str(), numbers.data(), static_cast<int32_t>(numbers.size()), caseInsensitive};
  Check(rr_add_index(handle_, &index));
}

}  // namespace vesk
