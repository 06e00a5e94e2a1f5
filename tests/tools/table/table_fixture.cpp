#include "tests/tools/table/table_fixture.h"

#include <filesystem>

#include "platform/regional_settings.h"
#include "runtime/format_settings.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {

void TableTest::SetUp() {
  SetFormatSettings(FormatSettings{});
  SetMultiByteCodePageForTesting(true);
  previousNotices_ = SetNoticeHandlers({[this](const std::exception& error) { errors_.push_back(error.what()); },
                                        [this](const std::string& text) { messages_.push_back(text); }});
}

void TableTest::TearDown() { SetNoticeHandlers(std::move(previousNotices_)); }

std::string TableTest::CreateTable(const std::string& name, const std::vector<FieldSpec>& fields,
                                   const std::vector<IndexSpec>& indexes) {
  std::vector<rr_field_spec> fieldSpecs;
  for (const FieldSpec& f : fields)
    fieldSpecs.push_back({f.name.c_str(), f.letter, f.chars, f.required, f.defaultText, f.minText, f.maxText});
  std::vector<rr_index_spec> indexSpecs;
  for (const IndexSpec& i : indexes)
    indexSpecs.push_back({i.name.c_str(), i.fields.data(), static_cast<int32_t>(i.fields.size()),
                          static_cast<rr_bool>(i.caseInsensitive)});
  const std::string path = Path(name);
  const int32_t h = rr_new(0);
  const int32_t result = rr_create(h, path.c_str(), fieldSpecs.data(), static_cast<int32_t>(fieldSpecs.size()),
                                   indexSpecs.data(), static_cast<int32_t>(indexSpecs.size()));
  const std::string error = EngineErrorText(h);
  rr_free(h);
  EXPECT_EQ(result, 0) << error;
  return path;
}

std::string TableTest::CreatePeople(const std::vector<std::pair<std::string, int>>& people) {
  const std::string path =
      CreateTable("people.mti", {{"Name", 'S', 20}, {"Alter", 'I'}, {"Notiz", 'M'}}, {{"ByName", {0}}});
  auto table = Open(path);
  for (const auto& [name, age] : people) AppendRecord(*table, {{"Name", name}, {"Alter", std::to_string(age)}});
  return path;
}

std::unique_ptr<TRadiRidir> TableTest::Open(const std::string& path, bool readOnly) {
  auto table = std::make_unique<TRadiRidir>();
  table->SetTableName(path);
  table->SetReadOnly(readOnly);
  table->Open();
  return table;
}

void TableTest::AppendRecord(TRadiRidir& table, const std::map<std::string, std::string>& texts) {
  table.Append();
  for (const auto& [field, text] : texts) table.FieldByName(field)->SetText(text);
  table.Post();
}

int32_t TableTest::FieldOffset(const TRadiRidir& table, int32_t field) {
  int32_t offset = 0, size = 0;
  uint8_t letter = 0;
  EXPECT_TRUE(rr_field_info(TRadiRidirEngine::Handle(table), field, &offset, &size, &letter));
  return offset;
}

std::vector<std::string> TableTest::Column(TRadiRidir& table, const std::string& field) {
  std::vector<std::string> values;
  for (table.First(); !table.Eof(); table.Next()) values.push_back(table.FieldByName(field)->AsString());
  return values;
}

}  // namespace vesk
