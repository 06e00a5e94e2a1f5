// The evaluation stack of the filter: TStackNode slots kept for reuse, so a
// walk allocates nothing once the first record has been evaluated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

class Variant;

// One slot of the evaluation stack: Kind 0 a field name and 1 a constant,
// both pointing at the Value of their node in the tree; 2 a condition with
// its result.
struct TStackNode {
  uint8_t Kind = 0;
  const Variant* Value = nullptr;
  bool Condition = false;
};

class TStack {
 public:
  // A field name or constant; value must outlive its entry.
  void Push(uint8_t kind, const Variant* value) {
    TStackNode& slot = NextSlot();
    slot.Kind = kind;
    slot.Value = value;
  }
  void PushCondition(bool result) {
    TStackNode& slot = NextSlot();
    slot.Kind = 2;
    slot.Value = nullptr;
    slot.Condition = result;
  }
  // The slot just given up; valid until the next push. EDatabaseError
  // "Error in filter expression evaluation" when the stack is empty.
  const TStackNode& Pop() {
    if (top_ == 0) [[unlikely]]
      Underflow();
    return slots_[static_cast<size_t>(--top_)];
  }
  // Frees all slots.
  void Clear();
  // Gives up all entries but keeps their slots.
  void Reset() { top_ = 0; }
  int Top() const { return top_; }
  int Count() const { return static_cast<int>(slots_.size()); }

 private:
  TStackNode& NextSlot() {
    if (static_cast<size_t>(top_) == slots_.size()) slots_.emplace_back();
    return slots_[static_cast<size_t>(top_++)];
  }
  [[noreturn]] static void Underflow();

  std::vector<TStackNode> slots_;
  int top_ = 0;
};

}  // namespace vesk
