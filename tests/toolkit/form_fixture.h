// A shown window with a dataset of numbered records (Nr, Name, Plz, Text)
// and its data source, for the tests of the data-aware controls.
#pragma once

#include <gtest/gtest.h>

#include "forms_support.h"
#include "memory_dataset.h"
#include "toolkit/data/data_source.h"
#include "toolkit/form.h"

namespace vesk {

class FormFixture : public testing::Test {
 protected:
  // count records: Nr 1..count, Name "Name<Nr>", Plz empty, Text "Text<Nr>".
  void Open(int count);
  // Shows the window and waits until it is active.
  void ShowForm();
  std::string Stored(int nr, const char* field);

  TForm* form = nullptr;
  TMemoryDataSet* dataset = nullptr;
  TDataSource* source = nullptr;
  CaughtMessages caught;

  void SetUp() override;
  void TearDown() override;
};

}  // namespace vesk
