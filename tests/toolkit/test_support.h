// Shared pieces of the toolkit tests: a dataset of numbered records, a link
// that records what it is told, and the rows a link's window shows.
#pragma once

#include <string>
#include <vector>

#include "memory_dataset.h"
#include "toolkit/data/data_link.h"

namespace vesk {

// Columns Nr (integer) and Name (text of 20); rows Nr 1..count, Name "Name<Nr>".
void FillNumbered(TMemoryDataSet& dataset, int count);

// Every event of the dataset appends its name to the log.
void RecordEvents(TDataSet& dataset, std::vector<std::string>& log);

class RecordingLink : public TDataLink {
 public:
  std::vector<std::string> log;
  std::vector<int> scrolls;

 protected:
  void ActiveChanged() override { log.push_back(Active() ? "active" : "inactive"); }
  void DataSetChanged() override { log.push_back("changed"); }
  void DataSetScrolled(int distance) override {
    scrolls.push_back(distance);
    log.push_back("scrolled");
  }
  void RecordChanged(TField* field) override { log.push_back(field ? "field" : "record"); }
  void EditingChanged() override { log.push_back(Editing() ? "editing" : "not editing"); }
  void UpdateData() override { log.push_back("update"); }
};

// The Nr values of the records in the link's window, top to bottom.
std::vector<int> Window(TDataLink& link);
std::vector<int> Range(int first, int last);

}  // namespace vesk
