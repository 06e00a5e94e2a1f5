// The fixture of the filter tests: the address table of address_rows.h with
// a TExprFilter over it, and helpers that prepare a text and collect the
// records that pass or the message of the failure.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/filter/address_rows.h"
#include "tools/filter/expr_filter.h"

namespace vesk {

class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Sets the text and options and switches the filter on.
  void Activate(const std::string& text, TFilterOptions options = 0);
  // Names of the records that pass, in table order ("" for no name).
  std::vector<std::string> Passing(const std::string& text, TFilterOptions options = 0);
  // Names of the records that pass, counting those whose evaluation fails.
  std::vector<std::string> Passing(const std::string& text, TFilterOptions options, int& failures);
  // The message of the failure that switching the filter on raises (which
  // must leave it inactive), or "no error".
  std::string PrepareError(const std::string& text, TFilterOptions options = 0);

  TMemoryDataSet table;
  TExprFilter filter{&table};
};

}  // namespace vesk
