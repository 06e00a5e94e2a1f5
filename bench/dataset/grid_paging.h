// Paging through a filtered table as the data grid does: a page of rows
// forward, then the record count and record number for the scroll bar.
#pragma once

#include <benchmark/benchmark.h>

namespace vesk::bench {

// Rows of one page and pages per iteration of the paging benchmarks.
constexpr int kPageRows = 20;
constexpr int kPages = 50;

// Arguments: the table's record count, and 1 for the filter on the city
// (every fifth record passes) or 0 for none.
void GridPaging(benchmark::State& state);

}  // namespace vesk::bench
