// Record identities by position, 4 bytes a record, kept in blocks so that
// inserting or deleting in the middle of a million records moves only one
// block, and putting more in front moves none.
#ifndef VESK_ENGINE_ID_SEQUENCE_H
#define VESK_ENGINE_ID_SEQUENCE_H

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vesk::engine {

class IdSequence {
 public:
  static constexpr size_t kNotFound = static_cast<size_t>(-1);

  void Clear();
  void Append(int32_t id);
  void Insert(size_t position, int32_t id);  // position <= Size()
  // Puts ids, in their order, before the first position.
  void Prepend(const std::vector<int32_t>& ids);
  void Erase(size_t position);
  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  int32_t At(size_t position) const;
  // Calls f(position, id) for every position in order.
  template <typename F>
  void ForEach(F f) const {
    size_t position = 0;
    for (const std::vector<int32_t>& block : blocks_)
      for (int32_t id : block) f(position++, id);
  }

 private:
  static constexpr size_t kBlock = 4096;
  // Block index and offset in it of a position (< Size()).
  std::pair<size_t, size_t> Locate(size_t position) const;
  void Renumber(size_t from_block);

  std::vector<std::vector<int32_t>> blocks_;
  std::vector<size_t> starts_;  // position of each block's first identity
  size_t size_ = 0;
  mutable size_t last_block_ = 0;  // sequential access mostly stays in one block
};

}  // namespace vesk::engine

#endif
