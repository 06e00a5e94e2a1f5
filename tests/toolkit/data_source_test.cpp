// What data sources and data links are told, and when.
#include <gtest/gtest.h>

#include "test_support.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/field.h"

namespace vesk {
namespace {

using Log = std::vector<std::string>;

class Notifications : public ::testing::Test {
 protected:
  void SetUp() override {
    FillNumbered(table, 5);
    source.SetDataSet(&table);
    source.OnStateChange = [this](TDataSource& s) { sourceLog.push_back("state " + std::to_string(s.State())); };
    source.OnDataChange = [this](TDataSource&, TField* field) {
      sourceLog.push_back(field ? "data " + field->FieldName() : "data");
    };
    source.OnUpdateData = [this](TDataSource&) { sourceLog.push_back("update"); };
    link.SetDataSource(&source);
  }
  Log TakeSource() { return std::exchange(sourceLog, {}); }
  Log TakeLink() { return std::exchange(link.log, {}); }

  TMemoryDataSet table;
  TDataSource source;
  RecordingLink link;
  Log sourceLog;
};

TEST_F(Notifications, StateScrollFieldAndUpdateReachSourceAndLink) {
  table.Open();
  EXPECT_EQ(TakeSource(), (Log{"state 1", "data"}));
  EXPECT_EQ(TakeLink(), Log{"active"});
  EXPECT_TRUE(link.Active());

  table.Next();
  EXPECT_EQ(TakeSource(), Log{"data"});
  EXPECT_EQ(TakeLink(), Log{"scrolled"});

  table.Edit();
  EXPECT_EQ(TakeSource(), (Log{"state 2", "data"}));
  EXPECT_EQ(TakeLink(), (Log{"editing", "record"}));
  table.FieldByName("Name")->SetAsString("x");
  EXPECT_EQ(TakeSource(), Log{"data Name"});
  EXPECT_EQ(TakeLink(), Log{"field"});

  table.Post();
  EXPECT_EQ(TakeSource(), (Log{"update", "state 1", "data"}));
  EXPECT_EQ(TakeLink(), (Log{"update", "not editing", "changed"}));

  table.Close();
  EXPECT_EQ(TakeSource(), Log{"state 0"});
  EXPECT_EQ(TakeLink(), Log{"inactive"});
  EXPECT_FALSE(link.Active());
}

// A control that writes its pending input when asked.
class WritingLink : public RecordingLink {
 protected:
  void UpdateData() override {
    RecordingLink::UpdateData();
    DataSet()->FieldByName("Name")->SetAsString("aus dem Eingabefeld");
  }
};

TEST_F(Notifications, ControlsWriteTheirInputAtPostWithoutHearingItBack) {
  WritingLink control;
  control.SetDataSource(&source);
  table.Open();
  table.Edit();
  control.log.clear();
  TakeLink();
  table.Post();
  EXPECT_EQ(control.log, (Log{"update", "not editing", "changed"})) << "no echo of its own write";
  EXPECT_EQ(TakeLink(), (Log{"update", "field", "not editing", "changed"})) << "the other control hears it";
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "aus dem Eingabefeld");
}

TEST_F(Notifications, AutoEditAndDisabledSources) {
  table.Open();
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(table.State(), dsEdit);
  table.Cancel();

  source.SetAutoEdit(false);
  EXPECT_FALSE(link.Edit());
  EXPECT_EQ(table.State(), dsBrowse);

  TakeLink();
  source.SetEnabled(false);
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(source.State(), dsInactive);
  table.Next();
  EXPECT_EQ(TakeLink(), Log{"inactive"}) << "a disabled source passes nothing on";
  source.SetEnabled(true);
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(link.DataSet(), &table);
}

TEST_F(Notifications, TemporaryStatesStayInvisible) {
  table.SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Nr")->AsInteger() % 2 == 1; });
  table.SetFiltered(true);
  table.Open();
  TakeSource();
  table.Last();
  EXPECT_EQ(table.FieldByName("Nr")->AsInteger(), 5);
  table.Prior();
  EXPECT_EQ(table.FieldByName("Nr")->AsInteger(), 3);
  EXPECT_EQ(TakeSource(), (Log{"data", "data"})) << "no state change to the filter state was reported";
  EXPECT_EQ(table.State(), dsBrowse);
}

TEST_F(Notifications, PartsMayGoInAnyOrder) {
  table.Open();
  auto* second = new RecordingLink;
  second->SetDataSource(&source);
  second->SetBufferCount(3);
  EXPECT_EQ(table.LiveBuffers(), 4);
  delete second;
  EXPECT_EQ(table.LiveBuffers(), 2);

  auto* early = new TDataSource;
  early->SetDataSet(&table);
  delete early;  // before its dataset
  {
    TMemoryDataSet shortLived;
    FillNumbered(shortLived, 1);
    source.SetDataSet(&shortLived);
    shortLived.Open();
    EXPECT_TRUE(link.Active());
  }  // the dataset goes before its source
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
}

}  // namespace
}  // namespace vesk
