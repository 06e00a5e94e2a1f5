#include "engine/wal_index_watch.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "runtime/unique_fd.h"

namespace vesk::engine {

WalIndexWatch::~WalIndexWatch() {
  if (map_) munmap(const_cast<uint8_t*>(map_), map_size_);
}

void WalIndexWatch::Watch(const std::string& index_path) {
  const UniqueFd fd(open(index_path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) return;
  struct stat info;
  if (fstat(fd.Get(), &info) == 0 && static_cast<size_t>(info.st_size) >= kHeaderBytes) {
    void* map = mmap(nullptr, kHeaderBytes, PROT_READ, MAP_SHARED, fd.Get(), 0);
    if (map != MAP_FAILED) {
      map_ = static_cast<const uint8_t*>(map);
      map_size_ = kHeaderBytes;
    }
  }
  Changed();
}

bool WalIndexWatch::Changed() {
  if (!map_) return true;
  std::array<uint8_t, kHeaderBytes> now;
  std::atomic_thread_fence(std::memory_order_acquire);
  std::memcpy(now.data(), map_, kHeaderBytes);
  if (now == seen_) return false;
  seen_ = now;
  return true;
}

}  // namespace vesk::engine
