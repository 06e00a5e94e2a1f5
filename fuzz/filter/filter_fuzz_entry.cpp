#include "fuzz/filter/filter_fuzz_entry.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/regional_settings.h"
#include "runtime/exceptions.h"
#include "tests/tools/filter/address_rows.h"
#include "tools/filter/expr_filter.h"

namespace vesk {
namespace {

[[noreturn]] void Broken(const char* rule) {
  std::fprintf(stderr, "filter rule broken: %s\n", rule);
  std::abort();
}

// Evaluates every record; the stack must not grow after the first one, and
// a second walk over the same record gives the same answer.
void EvaluateAll(TMemoryDataSet& dataset, TExprFilter& filter) {
  int slots = -1;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) {
    try {
      const bool first = filter.Evaluate();
      if (filter.Evaluate() != first) Broken("a record's result changes");
    } catch (const Exception&) {
      continue;  // the record is rejected; the next walk starts afresh
    }
    if (slots >= 0 && filter.StackSlots() != slots) Broken("stack slots allocated after the first record");
    slots = filter.StackSlots();
  }
}

}  // namespace

void FuzzFilterText(const uint8_t* data, size_t size) {
  static TMemoryDataSet* dataset = [] {
    auto* table = new TMemoryDataSet;
    FillAddresses(*table);
    return table;
  }();
  dataset->SetFilterText(std::string(reinterpret_cast<const char*>(data), size));
  TExprFilter filter(dataset);
  for (bool multi_byte : {false, true}) {
    SetMultiByteCodePageForTesting(multi_byte);
    for (TFilterOptions options = 0; options <= (foCaseInsensitive | foNoPartialCompare); ++options) {
      dataset->SetFilterOptions(options);
      try {
        filter.SetActive(true);
      } catch (const Exception&) {
        if (filter.Active()) Broken("a failed preparation left the filter active");
        continue;
      }
      if (size == 0 && filter.Active()) Broken("an empty text made the filter active");
      EvaluateAll(*dataset, filter);
      filter.SetActive(false);
      if (!filter.Evaluate()) Broken("an inactive filter rejected a record");
    }
  }
}

}  // namespace vesk
