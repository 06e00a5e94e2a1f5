// The crash test's writer as a child process: started with a pipe back to
// the test, killed, and reaped.
#ifndef VESK_TESTS_ENGINE_CRASH_WRITER_PROCESS_H
#define VESK_TESTS_ENGINE_CRASH_WRITER_PROCESS_H

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "tests/engine/crash/crash_pipe.h"

namespace vesk::crash {

class WriterProcess {
 public:
  // Starts program on table with seed; empty on success, else the reason.
  std::string Start(const std::string& program, const std::string& table, uint64_t seed);
  ~WriterProcess();

  // Reads the pipe into reader until the deadline passes, the pipe closes,
  // or stop() is true after a read; false once the pipe is closed.
  template <typename Stop>
  bool ReadUntil(MessageReader& reader, std::chrono::steady_clock::time_point deadline, Stop stop);

  // Kills the writer with SIGKILL, reads what is left in the pipe and reaps
  // it; empty when SIGKILL ended it, else how it ended.
  std::string KillAndReap(MessageReader& reader);

 private:
  bool ReadSome(MessageReader& reader, int timeout_ms);

  pid_t pid_ = -1;
  int fd_ = -1;
};

template <typename Stop>
bool WriterProcess::ReadUntil(MessageReader& reader, std::chrono::steady_clock::time_point deadline, Stop stop) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return true;
    if (!ReadSome(reader, static_cast<int>(left.count()))) return false;
    if (stop()) return true;
  }
}

}  // namespace vesk::crash

#endif
