#include "bench/window/address_window.h"

#include <dlfcn.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <vector>

#include "engine/radiridir.h"
#include "tools/tables/table_schemas.h"

namespace vesk::bench {
namespace {

void (*adr_execute)() = nullptr;

// Tables of each size lie beside the window's table until they are measured.
std::string Stored(int64_t records) { return "Data/adressen-" + std::to_string(records) + ".mti"; }

std::array<uint8_t, 256> EngineName(const std::string& path) {
  std::array<uint8_t, 256> name{};
  name[0] = static_cast<uint8_t>(path.size());
  std::copy(path.begin(), path.end(), name.begin() + 1);
  return name;
}

void Fail(int32_t h, const char* what) {
  uint8_t text[256];
  rr_last_error(text, h, 0);
  throw std::runtime_error(std::string(what) + ": " + std::string(reinterpret_cast<char*>(text + 1), text[0]));
}

// Field numbers and offsets in the record buffer, by name.
std::map<std::string, std::pair<int32_t, int32_t>> Fields(int32_t h) {
  std::map<std::string, std::pair<int32_t, int32_t>> fields;
  for (int32_t f = 0; f < rr_field_count(h); ++f) {
    uint8_t name[256];
    rr_field_name(name, h, f);
    int32_t offset = 0, size = 0;
    uint8_t letter = 0;
    rr_field_info(h, f, &offset, &size, &letter);
    fields[std::string(reinterpret_cast<char*>(name + 1), name[0])] = {f, offset};
  }
  return fields;
}

// The window's own table, made as the window makes it, filled in one batch.
void BuildTable(int64_t records) {
  std::filesystem::remove(kAdressenTable);
  if (!CreateTableWhenMissing(AdressenSchema())) throw std::runtime_error("no address table");
  const int32_t h = rr_new(0);
  if (rr_open(h, EngineName(kAdressenTable).data(), RR_MODE_READ_WRITE) < 0) Fail(h, "rr_open");
  const std::map<std::string, std::pair<int32_t, int32_t>> fields = Fields(h);
  std::vector<uint8_t> record(static_cast<size_t>(rr_record_size(h)));
  auto set_text = [&](const char* field, const std::string& text) {
    const auto [number, offset] = fields.at(field);
    record[static_cast<size_t>(number)] = 1;
    std::copy(text.begin(), text.end(), record.begin() + offset);
    record[static_cast<size_t>(offset) + text.size()] = 0;
  };
  if (!rr_batch_begin(h)) Fail(h, "rr_batch_begin");
  for (int64_t n = 0; n < records; ++n) {
    rr_blank_record(h, record.data());
    // Names spread over the alphabet, so that the first in name order is
    // not the first stored.
    const uint64_t spread = static_cast<uint64_t>(n) * 2654435761u % 1000003u;
    set_text(adressen::kName, std::string(1, static_cast<char>('A' + spread % 26)) + "name" + std::to_string(spread));
    set_text(adressen::kVorname, "Vorname" + std::to_string(n % 500));
    set_text(adressen::kStadt, "Stadt" + std::to_string(n % 2000));
    if (!rr_put_buffer(h, record.data()) || !rr_store_new(h)) Fail(h, "rr_store_new");
  }
  if (!rr_batch_commit(h)) Fail(h, "rr_batch_commit");
  rr_free(h);
}

QWidget* AddressWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QLatin1String("Adressen")) return widget;
  }
  return nullptr;
}

// Opens the window and waits until its name field shows a record: the
// window, or nullptr after ten seconds.
QWidget* OpenUntilFirstRecord() {
  adr_execute();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < until) {
    QWidget* window = AddressWindow();
    auto* name = window ? window->findChild<QLineEdit*>("EdName") : nullptr;
    if (name && !name->text().isEmpty()) return window;
    QApplication::processEvents();
  }
  return nullptr;
}

void Close(QWidget* window) {
  QPointer<QWidget> closing = window;
  closing->close();
  while (!closing.isNull()) QApplication::processEvents();
}

}  // namespace

bool LoadTools(std::string* error) {
  void* library = dlopen(TOOLS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library) adr_execute = reinterpret_cast<void (*)()>(dlsym(library, "AdrExecute"));
  if (!adr_execute) *error = dlerror();
  return adr_execute != nullptr;
}

void OpenAddressWindow(benchmark::State& state) {
  const int64_t records = state.range(0);
  if (!std::filesystem::exists(Stored(records))) {
    BuildTable(records);
    std::filesystem::rename(kAdressenTable, Stored(records));
  }
  std::filesystem::rename(Stored(records), kAdressenTable);
  // The first opening adds the name index the window sorts by.
  if (QWidget* window = OpenUntilFirstRecord()) Close(window);
  for (auto _ : state) {
    QWidget* window = OpenUntilFirstRecord();
    if (!window) {
      state.SkipWithError("no record shown");
      break;
    }
    state.PauseTiming();
    Close(window);
    state.ResumeTiming();
  }
  std::filesystem::rename(kAdressenTable, Stored(records));
}

}  // namespace vesk::bench
