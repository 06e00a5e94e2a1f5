// A cheap first look for a writer's commits: the header at the start of the
// write-ahead log's index file ("<table>-shm", laid out as SQLite's file
// format documentation gives it) changes with every commit. While its bytes
// stay as they were, nothing was committed and SQLite need not be asked.
#ifndef VESK_ENGINE_WAL_INDEX_WATCH_H
#define VESK_ENGINE_WAL_INDEX_WATCH_H

#include <array>
#include <cstdint>
#include <string>

namespace vesk::engine {

class WalIndexWatch {
 public:
  WalIndexWatch() = default;
  WalIndexWatch(const WalIndexWatch&) = delete;
  WalIndexWatch& operator=(const WalIndexWatch&) = delete;
  ~WalIndexWatch();

  // Maps the index file read-only and notes its header. Only while a
  // connection of this process has the table open: SQLite leaves the file
  // as long as it is in use. Without the file every look says "changed".
  void Watch(const std::string& index_path);
  // True when the header differs from the one noted last (which it then
  // notes), or when there is nothing to watch.
  bool Changed();

 private:
  // Both copies of the index header.
  static constexpr size_t kHeaderBytes = 96;
  const uint8_t* map_ = nullptr;
  size_t map_size_ = 0;
  std::array<uint8_t, kHeaderBytes> seen_{};
};

}  // namespace vesk::engine

#endif
