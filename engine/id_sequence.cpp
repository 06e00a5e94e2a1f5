#include "engine/id_sequence.h"

#include <algorithm>

namespace vesk::engine {

void IdSequence::Clear() {
  blocks_.clear();
  starts_.clear();
  size_ = 0;
  last_block_ = 0;
}

void IdSequence::Append(int32_t id) {
  if (blocks_.empty() || blocks_.back().size() >= kBlock) {
    blocks_.emplace_back();
    starts_.push_back(size_);
  }
  blocks_.back().push_back(id);
  ++size_;
}

std::pair<size_t, size_t> IdSequence::Locate(size_t position) const {
  size_t b = last_block_;
  if (b >= blocks_.size() || position < starts_[b] || position >= starts_[b] + blocks_[b].size()) {
    b = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
    last_block_ = b;
  }
  return {b, position - starts_[b]};
}

int32_t IdSequence::At(size_t position) const {
  auto [b, offset] = Locate(position);
  return blocks_[b][offset];
}

void IdSequence::Renumber(size_t from_block) {
  size_t start = from_block == 0 ? 0 : starts_[from_block - 1] + blocks_[from_block - 1].size();
  for (size_t b = from_block; b < blocks_.size(); ++b) {
    starts_[b] = start;
    start += blocks_[b].size();
  }
}

void IdSequence::Insert(size_t position, int32_t id) {
  if (position == size_) {
    Append(id);
    return;
  }
  auto [b, offset] = Locate(position);
  std::vector<int32_t>& block = blocks_[b];
  block.insert(block.begin() + static_cast<std::ptrdiff_t>(offset), id);
  if (block.size() >= 2 * kBlock) {
    std::vector<int32_t> upper(block.begin() + kBlock, block.end());
    block.resize(kBlock);
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(upper));
    starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(b) + 1, 0);
  }
  ++size_;
  Renumber(b);
}

void IdSequence::Prepend(const std::vector<int32_t>& ids) {
  if (ids.empty()) return;
  blocks_.insert(blocks_.begin(), ids);
  starts_.insert(starts_.begin(), 0);
  size_ += ids.size();
  Renumber(0);
  last_block_ = 0;
}

void IdSequence::Erase(size_t position) {
  auto [b, offset] = Locate(position);
  std::vector<int32_t>& block = blocks_[b];
  block.erase(block.begin() + static_cast<std::ptrdiff_t>(offset));
  if (block.empty()) {
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
    starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(b));
  }
  --size_;
  if (b < blocks_.size()) Renumber(b);
  last_block_ = 0;
}

}  // namespace vesk::engine
