#include "engine/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/engine_error.h"

namespace vesk::engine {

bool WriterLock::Acquire(const std::string& table_path) {
  Release();
  std::string path = table_path + "-lock";
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    throw EngineError("Table " + table_path + " cannot be opened for writing: " + std::strerror(errno), kOpenUnreadable);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return false;
    throw EngineError("Table " + table_path + " cannot be locked: " + std::strerror(error), kOpenUnreadable);
  }
  fd_ = fd;
  return true;
}

void WriterLock::Release() {
  if (fd_ >= 0) close(fd_);  // closing drops the flock
  fd_ = -1;
}

}  // namespace vesk::engine
