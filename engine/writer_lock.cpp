#include "engine/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "engine/engine_error.h"

namespace vesk::engine {

bool WriterLock::Acquire(const std::string& table_path) {
  Release();
  std::string path = table_path + "-lock";
  UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (!fd.Valid())
    throw EngineError("Table " + table_path + " cannot be opened for writing: " + std::strerror(errno),
                      kOpenUnreadable);
  if (flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) return false;
    throw EngineError("Table " + table_path + " cannot be locked: " + std::strerror(error), kOpenUnreadable);
  }
  fd_ = std::move(fd);
  return true;
}

void WriterLock::Release() {
  fd_ = UniqueFd();  // closing drops the flock
}

}  // namespace vesk::engine
