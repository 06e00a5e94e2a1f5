// bench_window: the address window opened through AdrExecute until its
// first record shows, on 1,000,000 addresses beside 10 addresses in the same
// run, headless; the ratio and its goal at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"
#include "bench/window/address_window.h"

namespace vesk::bench {
namespace {

constexpr int64_t kFew = 10;
constexpr int64_t kMany = 1000000;
constexpr double kRatioGoal = 1.2;

void PrintRatio(const TimesReporter& reporter) {
  const Time* few = reporter.Find("AdrExecute/" + std::to_string(kFew));
  const Time* many = reporter.Find("AdrExecute/" + std::to_string(kMany));
  if (!few || !many) return;
  const double ratio = many->real / few->real;
  std::printf(
      "\nAdrExecute to the first record, %lld addresses against %lld: %.1f ms against %.1f ms, ratio %.2f "
      "(goal <= %.1f) %s\n",
      static_cast<long long>(kMany), static_cast<long long>(kFew), many->real * 1e3, few->real * 1e3, ratio, kRatioGoal,
      ratio <= kRatioGoal ? "met" : "MISSED");
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  // The program folder, with the window's table, is made for the run.
  std::string home = (std::filesystem::temp_directory_path() / "vesk-bench-window-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) return 1;
  setenv("VESK_HOME", home.c_str(), 1);
  setenv("VESK_NONINTERACTIVE", "1", 1);
  if (chdir(home.c_str()) != 0) return 1;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  std::string error;
  if (!LoadTools(&error)) {
    std::fprintf(stderr, "bench_window: %s\n", error.c_str());
    return 1;
  }
  TimesReporter reporter;
  return RunBenchmarks(
      argc, argv, reporter,
      {[] {
         for (int64_t records : {kFew, kMany})
           benchmark::RegisterBenchmark("AdrExecute", OpenAddressWindow)->Arg(records)->Unit(benchmark::kMillisecond);
       },
       [&reporter] { PrintRatio(reporter); }, [home] { std::filesystem::remove_all(home); }});
}
