#include "tools/exchange/batch_import.h"

#include "runtime/utf8_text.h"
#include "toolkit/data/field.h"
#include "tools/exchange/exchange_error.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirBatch.h"

namespace vesk {

namespace {
// How often the progress is told: often enough for a smooth bar, seldom
// enough to cost nothing beside the storing.
constexpr size_t kProgressStep = 50;
// The skipped entries a summary names; the rest are counted.
constexpr size_t kNamedSkips = 3;
}  // namespace

std::string Counted(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string ImportResult::Summary(const char* one, const char* many) const {
  if (skipped.empty()) return Counted(imported, one, many) + " importiert";
  std::string text =
      Counted(imported, one, many) + " übernommen, " + std::to_string(skipped.size()) + " übersprungen: ";
  for (size_t i = 0; i < skipped.size() && i < kNamedSkips; ++i) text += (i > 0 ? "; " : "") + skipped[i].Text();
  if (skipped.size() > kNamedSkips) text += "; …";
  return text;
}

void ImportResult::RefuseWhenNothingCameIn() const {
  if (imported != 0 || skipped.empty()) return;
  ExchangeFault fault = skipped.front();
  if (skipped.size() > 1)
    fault.reason +=
        " (und " + std::to_string(skipped.size() - 1) + (skipped.size() == 2 ? " weiterer" : " weitere") + " Fehler)";
  throw EExchangeError(fault);
}

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
