#include "bench/support/run_benchmarks.h"

namespace vesk::bench {

int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter& reporter, const BenchmarkProgram& program) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  program.register_all();
  benchmark::RunSpecifiedBenchmarks(&reporter);
  program.summarise();
  program.remove_tables();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vesk::bench
