#include "test_support.h"

#include "toolkit/data/field.h"

namespace vesk {

void FillNumbered(TMemoryDataSet& dataset, int count) {
  dataset.AddColumn("Nr", ftInteger);
  dataset.AddColumn("Name", ftString, 20);
  for (int i = 1; i <= count; ++i) dataset.AddRow({Variant(i), Variant("Name" + std::to_string(i))});
}

void RecordEvents(TDataSet& dataset, std::vector<std::string>& log) {
  auto note = [&log](const char* name) { return [&log, name](TDataSet&) { log.push_back(name); }; };
  dataset.BeforeOpen = note("BeforeOpen");
  dataset.AfterOpen = note("AfterOpen");
  dataset.BeforeClose = note("BeforeClose");
  dataset.AfterClose = note("AfterClose");
  dataset.BeforeInsert = note("BeforeInsert");
  dataset.AfterInsert = note("AfterInsert");
  dataset.BeforeEdit = note("BeforeEdit");
  dataset.AfterEdit = note("AfterEdit");
  dataset.BeforePost = note("BeforePost");
  dataset.AfterPost = note("AfterPost");
  dataset.BeforeCancel = note("BeforeCancel");
  dataset.AfterCancel = note("AfterCancel");
  dataset.BeforeDelete = note("BeforeDelete");
  dataset.AfterDelete = note("AfterDelete");
  dataset.BeforeScroll = note("BeforeScroll");
  dataset.AfterScroll = note("AfterScroll");
  dataset.OnNewRecord = note("OnNewRecord");
}

std::vector<int> Window(TDataLink& link) {
  std::vector<int> rows;
  const int active = link.ActiveRecord();
  for (int i = 0; i < link.RecordCount(); ++i) {
    link.SetActiveRecord(i);
    rows.push_back(link.DataSet()->FieldByName("Nr")->AsInteger());
  }
  link.SetActiveRecord(active);
  return rows;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> values;
  for (int i = first; i <= last; ++i) values.push_back(i);
  return values;
}

}  // namespace vesk
