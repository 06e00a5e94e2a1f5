// TRadiRidir Locate and Lookup over the engine's search: the key values are
// written into the filter buffer through the fields and the engine finds the
// first record whose fields equal them.
#include "engine/radiridir.h"
#include "platform/regional_settings.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

namespace {

size_t CharacterCount(const std::string& text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); ++count)
    at += static_cast<size_t>(CharLength(text.data() + at, static_cast<int>(text.size() - at)));
  return count;
}

}  // namespace

bool TRadiRidir::Search(std::string_view keyFields, const Variant& keyValues, TLocateOptions options, bool moveCursor) {
  CheckBrowseMode();
  CursorPosChanged();
  const std::vector<TField*> fields = GetFieldList(keyFields);
  std::vector<int32_t> numbers;
  for (TField* field : fields) {
    if (field->FieldKind() != fkData) DatabaseError(field->FieldName() + " is not a valid locate field.");
    numbers.push_back(field->FieldNo() - 1);
  }
  const TempState filtering(*this, dsFilter);
  InternalInitRecord(filterBuffer_.data());
  if (fields.size() == 1) {
    fields[0]->SetValue(keyValues);
  } else {
    const std::vector<Variant>& values = keyValues.AsArray();
    for (size_t j = 0; j < fields.size(); ++j) fields[j]->SetValue(j < values.size() ? values[j] : Variant::Null());
  }
  const bool caseInsensitive = (options & loCaseInsensitive) != 0;
  int32_t partialLength = 0;
  if ((options & loPartialKey) != 0 && !fields.empty() && fields.back()->DataType() == ftString)
    partialLength = static_cast<int32_t>(CharacterCount(fields.back()->AsString()));
  const auto count = static_cast<int32_t>(numbers.size());
  const int32_t index = rr_search_index(handle_, numbers.data(), count, !caseInsensitive);
  const bool found = rr_search(handle_, numbers.data(), count, reinterpret_cast<uint8_t*>(filterBuffer_.data()), index,
                               partialLength, caseInsensitive, moveCursor);
  CheckLastCall();
  return found;
}

bool TRadiRidir::Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options) {
  DoBeforeScroll();
  const bool found = Search(keyFields, keyValues, options, true);
  if (found) {
    Resync(rmExact | rmCenter);
    DoAfterScroll();
  }
  return found;
}

Variant TRadiRidir::Lookup(std::string_view keyFields, const Variant& keyValues, std::string_view resultFields) {
  if (!Search(keyFields, keyValues, 0, false)) return Variant::Null();
  const TempState calculating(*this, dsCalcFields);
  GetCalcFields(filterBuffer_.data());
  return FieldValues(resultFields);
}

}  // namespace vesk
