#include "tools/exchange/batch_import.h"

#include "runtime/utf8_text.h"
#include "toolkit/field.h"
#include "tools/exchange/exchange_error.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirBatch.h"

namespace vesk {

namespace {
// How often the progress is told: often enough for a smooth bar, seldom
// enough to cost nothing beside the storing.
constexpr size_t kProgressStep = 50;
}  // namespace

void AppendInOneBatch(TRadiRidir& table, size_t count, const std::function<void(size_t)>& fill,
                      const std::function<int(size_t)>& line, const ImportProgress& progress) {
  std::exception_ptr failure;
  {
    TRadiRidirBatch batch(table);
    size_t i = 0;
    try {
      for (; i < count; ++i) {
        if (progress && i % kProgressStep == 0 && !progress(i, count)) throw EImportCancelled();
        table.Append();
        fill(i);
        table.Post();
      }
      batch.Commit();
    } catch (const EImportCancelled&) {
      failure = std::current_exception();
    } catch (const std::exception& error) {
      failure = std::make_exception_ptr(EExchangeError(line(i), error.what()));
    }
    // The record left unfinished goes before the batch is undone.
    if (failure && table.State() != dsBrowse) table.Cancel();
  }
  if (failure) {
    // The records of the undone batch are gone from the dataset's buffers too.
    table.First();
    std::rethrow_exception(failure);
  }
  if (progress) progress(count, count);
}

bool SetTextCut(TField& field, const std::string& text) {
  if (field.DataType() == ftString && Utf8Length(text) > static_cast<size_t>(field.Size())) {
    field.SetAsString(Utf8Prefix(text, static_cast<size_t>(field.Size())));
    return false;
  }
  if (text.empty())
    field.Clear();
  else
    field.SetAsString(text);
  return true;
}

}  // namespace vesk
