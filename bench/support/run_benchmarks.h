// The frame every benchmark program shares: reads Google Benchmark's
// command line, registers the program's benchmarks, runs those asked for
// with the program's reporter, prints its summary and removes the tables
// it built for the run.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>

namespace vesk::bench {

struct BenchmarkProgram {
  std::function<void()> register_all;
  std::function<void()> summarise;  // after the runs, from the reporter's times
  std::function<void()> remove_tables;
  // The repetitions of all benchmarks taken in random turns, so that each
  // pair meets the same pace of the machine; a flag on the command line
  // still decides.
  bool interleaved = false;
};

// The program's exit status: 1 for arguments Google Benchmark does not know.
int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter& reporter, const BenchmarkProgram& program);

}  // namespace vesk::bench
