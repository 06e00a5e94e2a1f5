// The fuzz target of the filter language: any bytes as Filter text,
// prepared and evaluated against a small address table.
#include <string>

#include "fuzz/fuzz_entry.h"
#include "platform/regional_settings.h"
#include "runtime/exceptions.h"
#include "tests/tools/filter/address_rows.h"
#include "tools/filter/expr_filter.h"

namespace vesk {
namespace {

// Evaluates every record; the stack must not grow after the first one, and
// a second walk over the same record gives the same answer.
void EvaluateAll(TMemoryDataSet& dataset, TExprFilter& filter) {
  int slots = -1;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) {
    try {
      const bool first = filter.Evaluate();
      if (filter.Evaluate() != first) FuzzRuleBroken("a record's result changes");
    } catch (const Exception&) {
      continue;  // the record is rejected; the next walk starts afresh
    }
    if (slots >= 0 && filter.StackSlots() != slots) FuzzRuleBroken("stack slots allocated after the first record");
    slots = filter.StackSlots();
  }
}

}  // namespace

void FuzzOneInput(const uint8_t* data, size_t size) {
  TMemoryDataSet* dataset = &SharedAddresses();
  dataset->SetFilterText(std::string(reinterpret_cast<const char*>(data), size));
  TExprFilter filter(dataset);
  for (bool multi_byte : {false, true}) {
    SetMultiByteCodePageForTesting(multi_byte);
    for (TFilterOptions options = 0; options <= (foCaseInsensitive | foNoPartialCompare); ++options) {
      dataset->SetFilterOptions(options);
      try {
        filter.SetActive(true);
      } catch (const Exception&) {
        if (filter.Active()) FuzzRuleBroken("a failed preparation left the filter active");
        continue;
      }
      if (size == 0 && filter.Active()) FuzzRuleBroken("an empty text made the filter active");
      EvaluateAll(*dataset, filter);
      filter.SetActive(false);
      if (!filter.Evaluate()) FuzzRuleBroken("an inactive filter rejected a record");
    }
  }
}

}  // namespace vesk
