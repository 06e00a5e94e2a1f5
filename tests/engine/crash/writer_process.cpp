#include "tests/engine/crash/writer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vesk::crash {
namespace {

// The writer finds its end of the pipe here.
constexpr int kWriterFd = 3;

}  // namespace

std::string WriterProcess::Start(const std::string& program, const std::string& table, uint64_t seed) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return std::string("pipe: ") + std::strerror(errno);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], kWriterFd);
  const std::string seed_text = std::to_string(seed);
  const std::string fd_text = std::to_string(kWriterFd);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(table.c_str()),
                  const_cast<char*>(seed_text.c_str()), const_cast<char*>(fd_text.c_str()), nullptr};
  const int error = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  fd_ = fds[0];
  if (error != 0) {
    pid_ = -1;
    return "posix_spawn " + program + ": " + std::strerror(error);
  }
  return {};
}

WriterProcess::~WriterProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (fd_ >= 0) close(fd_);
}

bool WriterProcess::ReadSome(MessageReader& reader, int timeout_ms) {
  pollfd ready{fd_, POLLIN, 0};
  const int polled = poll(&ready, 1, timeout_ms);
  if (polled < 0) return errno == EINTR;
  if (polled == 0) return true;
  char bytes[65536];
  const ssize_t n = read(fd_, bytes, sizeof bytes);
  if (n < 0) return errno == EINTR || errno == EAGAIN;
  if (n == 0) return false;
  reader.Feed(bytes, static_cast<size_t>(n));
  return true;
}

std::string WriterProcess::KillAndReap(MessageReader& reader) {
  kill(pid_, SIGKILL);
  while (ReadSome(reader, -1)) {
  }
  int status = 0;
  const pid_t reaped = waitpid(pid_, &status, 0);
  pid_ = -1;
  if (reaped < 0) return std::string("waitpid: ") + std::strerror(errno);
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return {};
  if (WIFSIGNALED(status)) return "the writer died of signal " + std::to_string(WTERMSIG(status));
  return "the writer ended by itself with exit code " + std::to_string(WEXITSTATUS(status));
}

}  // namespace vesk::crash
