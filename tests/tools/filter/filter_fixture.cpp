#include "tests/tools/filter/filter_fixture.h"

#include "toolkit/data/field.h"

#include "platform/regional_settings.h"
#include "runtime/exceptions.h"
#include "runtime/format_settings.h"

namespace vesk {

void FilterTest::SetUp() {
  SetFormatSettings(FormatSettings{});
  SetMultiByteCodePageForTesting(true);
  FillAddresses(table);
}

void FilterTest::Activate(const std::string& text, TFilterOptions options) {
  table.SetFilterText(text);
  table.SetFilterOptions(options);
  filter.SetActive(true);
}

std::vector<std::string> FilterTest::Passing(const std::string& text, TFilterOptions options) {
  Activate(text, options);
  std::vector<std::string> names;
  for (table.First(); !table.Eof(); table.Next()) {
    if (filter.Evaluate()) names.push_back(table.FieldByName("Name")->AsString());
  }
  return names;
}

std::vector<std::string> FilterTest::Passing(const std::string& text, TFilterOptions options, int& failures) {
  Activate(text, options);
  std::vector<std::string> names;
  failures = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    try {
      if (filter.Evaluate()) names.push_back(table.FieldByName("Name")->AsString());
    } catch (const Exception&) {
      ++failures;
    }
  }
  return names;
}

std::string FilterTest::PrepareError(const std::string& text, TFilterOptions options) {
  try {
    Activate(text, options);
  } catch (const Exception& error) {
    EXPECT_FALSE(filter.Active()) << text;
    EXPECT_TRUE(filter.Evaluate()) << text;
    return error.Message();
  }
  return "no error";
}

}  // namespace vesk
