// bench_telephony: call set-up against SIPp on loopback from the address
// window's double click and through the telephone line layer, each beside
// the SIP library alone, with the ratios and the goal that ours adds under
// 10 %.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"
#include "bench/telephony/call_setup.h"
#include "tests/support/sipp_peer.h"

namespace vesk::bench {
namespace {

constexpr double kRatioGoal = 1.10;
constexpr int kCalls = 50;

void PrintRatio(const TimesReporter& reporter) {
  const Time* library = reporter.Find("CallSetup/library");
  if (!library) return;
  for (const char* side : {"window", "layer"}) {
    const Time* ours = reporter.Find(std::string("CallSetup/") + side);
    if (!ours) continue;
    const double ratio = ours->real / library->real;
    std::printf(
        "\nTo connected, %s against the SIP library alone: %.1f ms against %.1f ms, ratio %.2f "
        "(goal < %.2f) %s\n",
        side, ours->real * 1e3, library->real * 1e3, ratio, kRatioGoal, ratio < kRatioGoal ? "met" : "MISSED");
  }
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  // The program folder, where the SIP library keeps its files, is made for the run.
  std::string home = (std::filesystem::temp_directory_path() / "vesk-bench-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) return 1;
  setenv("VESK_HOME", home.c_str(), 1);
  // No session bus: the account's password is read from the INI file, no
  // secret store is asked while the calls are timed.
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
  // The address window keeps its table there too.
  if (chdir(home.c_str()) != 0) return 1;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  vesk::SippPeer peer(std::string(VESK_SOURCE_DIR) + "/tests/platform/sipp/answer_until_bye.xml", 0);
  if (!peer.Listening()) {
    std::fprintf(stderr, "bench_telephony: SIPp does not listen\n");
    return 1;
  }
  const int port = peer.Port();
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter,
                       {[port] {
                          benchmark::RegisterBenchmark("CallSetup/window", WindowCallSetup, port)
                              ->UseManualTime()
                              ->Iterations(kCalls)
                              ->Unit(benchmark::kMillisecond);
                          benchmark::RegisterBenchmark("CallSetup/layer", LayerCallSetup, port)
                              ->UseManualTime()
                              ->Iterations(kCalls)
                              ->Unit(benchmark::kMillisecond);
                          benchmark::RegisterBenchmark("CallSetup/library", LibraryCallSetup, port)
                              ->UseManualTime()
                              ->Iterations(kCalls)
                              ->Unit(benchmark::kMillisecond);
                        },
                        [&reporter] { PrintRatio(reporter); }, [home] { std::filesystem::remove_all(home); }});
}
