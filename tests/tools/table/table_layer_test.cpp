// The table layer's operations beside the dataset: making a table from its
// definition, describing an open table, and the all-or-nothing batch; the
// layer's program without widgets.
#include <link.h>

#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidirBatch.h"
#include "tools/table/RadiRidirError.h"
#include "tools/table/table_description.h"

namespace vesk {
namespace {

using TableLayerTest = TableTest;

// The table layer rests on QtCore alone: this program of it loads neither
// Qt Widgets nor Qt Gui.
TEST(TableLayerLinks, WithoutWidgets) {
  std::vector<std::string> loaded;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* names) {
        static_cast<std::vector<std::string>*>(names)->push_back(info->dlpi_name);
        return 0;
      },
      &loaded);
  auto anyNamed = [&](std::string_view part) {
    return std::ranges::any_of(loaded, [&](const std::string& name) { return name.find(part) != std::string::npos; });
  };
  EXPECT_TRUE(anyNamed("libQt6Core"));
  EXPECT_FALSE(anyNamed("libQt6Widgets"));
  EXPECT_FALSE(anyNamed("libQt6Gui"));
}

TEST_F(TableLayerTest, CreatedTableDescribesItselfAsDefinedAndIsNotMadeTwice) {
  TTableField name{.name = "Name", .letter = 'S', .chars = 30};
  name.constraints[tcRequired] = std::string("1");
  TTableField age{.name = "Alter", .letter = 'I'};
  age.constraints[tcMin] = "0";
  age.constraints[tcMax] = "150";
  age.constraints[tcDefault] = "18";
  const std::string path = Path("made.mti");
  ::vesk::CreateTable(
      path, {name, age, {.name = "Notiz", .letter = 'M'}},
      {{.name = "ByName", .fields = {0}, .caseInsensitive = true}, {.name = "ByAgeAndName", .fields = {1, 0}}});

  auto table = Open(path, true);
  const std::vector<TTableField> fields = DescribeFields(*table);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].name, "Name");
  EXPECT_EQ(fields[0].letter, 'S');
  EXPECT_EQ(fields[0].chars, 30);
  EXPECT_EQ(fields[0].size, RR_TEXT_SIZE(30));
  EXPECT_EQ(fields[0].constraints[tcRequired], "1");
  EXPECT_FALSE(fields[0].constraints[tcDefault]);
  EXPECT_EQ(fields[1].letter, 'I');
  EXPECT_EQ(fields[1].chars, 0) << "only text fields count characters";
  EXPECT_EQ(fields[1].size, 4);
  EXPECT_EQ(fields[1].constraints[tcDefault], "18");
  EXPECT_EQ(fields[1].constraints[tcMin], "0");
  EXPECT_EQ(fields[1].constraints[tcMax], "150");
  EXPECT_FALSE(fields[1].constraints[tcRequired]);
  EXPECT_EQ(fields[2].letter, 'M');
  EXPECT_EQ(IndexNames(*table), (std::vector<std::string>{"ByName", "ByAgeAndName"}));
  EXPECT_EQ(table->IndexName(), "") << "the listing leaves the identity order";

  EXPECT_THROW(::vesk::CreateTable(path, {{.name = "Other", .letter = 'I'}}, {}), ERadiRidirError);
  EXPECT_EQ(DescribeFields(*Open(path, true)).size(), 3u) << "the existing table is left as it was";
  EXPECT_THROW(::vesk::CreateTable(Path("bad.mti"), {{.name = "Name", .letter = 'S', .chars = 10}},
                                   {{.name = "ByNothing", .fields = {5}}}),
               ERadiRidirError);
}

TEST_F(TableLayerTest, BatchKeepsItsRecordsOnlyWhenCommitted) {
  const std::string path = CreatePeople({{"Anna", 30}});
  auto table = Open(path);
  {
    TRadiRidirBatch batch(*table);
    AppendRecord(*table, {{"Name", "Bernd"}, {"Alter", "40"}});
    AppendRecord(*table, {{"Name", "Clara"}, {"Alter", "50"}});
    EXPECT_EQ(table->RecordCount(), 3);
  }
  table->Refresh();
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Anna"})) << "an uncommitted batch is undone";
  {
    TRadiRidirBatch batch(*table);
    AppendRecord(*table, {{"Name", "Dora"}, {"Alter", "60"}});
    batch.Commit();
  }
  table->Close();
  EXPECT_EQ(Column(*Open(path), "Name"), (std::vector<std::string>{"Anna", "Dora"}));
}

TEST_F(TableLayerTest, BatchRefusesAReadOnlyTableAndASecondBatch) {
  const std::string path = CreatePeople({{"Anna", 30}});
  EXPECT_THROW(TRadiRidirBatch{*Open(path, true)}, ERadiRidirError);
  auto table = Open(path);
  TRadiRidirBatch batch(*table);
  EXPECT_THROW(TRadiRidirBatch{*table}, ERadiRidirError);
  AppendRecord(*table, {{"Name", "Bernd"}, {"Alter", "40"}});
  batch.Commit();
  EXPECT_EQ(table->RecordCount(), 2) << "the refused second batch left the first running";
}

}  // namespace
}  // namespace vesk
