#include "bench/support/run_benchmarks.h"

#include <vector>

namespace vesk::bench {

int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter& reporter, const BenchmarkProgram& program) {
  std::vector<char*> args(argv, argv + argc);
  char interleaved[] = "--benchmark_enable_random_interleaving=true";
  if (program.interleaved) args.insert(args.begin() + 1, interleaved);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  program.register_all();
  benchmark::RunSpecifiedBenchmarks(&reporter);
  program.summarise();
  program.remove_tables();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vesk::bench
