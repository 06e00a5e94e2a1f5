#include "bench/dataset/grid_paging.h"

#include "bench/dataset/scan_table.h"
#include "tools/table/RadiRidir.h"

namespace vesk::bench {

void GridPaging(benchmark::State& state) {
  const bool filtered = state.range(1) != 0;
  TRadiRidir table;
  table.SetTableName(ScanTable(state.range(0)));
  table.SetReadOnly(true);
  table.Open();
  table.SetFilterText("Ort = 'Köln'");
  table.SetFiltered(filtered);
  for (auto _ : state) {
    table.First();
    for (int page = 0; page < kPages; ++page) {
      if (table.MoveBy(kPageRows) != kPageRows) state.SkipWithError("the table ended early");
      // The grid's scroll bar asks twice: for its range and its position.
      benchmark::DoNotOptimize(table.RecordCount());
      benchmark::DoNotOptimize(table.RecordCount());
      benchmark::DoNotOptimize(table.RecNo());
    }
  }
  state.SetItemsProcessed(state.iterations() * kPages);
  state.SetLabel("per item: one page");
}

}  // namespace vesk::bench
