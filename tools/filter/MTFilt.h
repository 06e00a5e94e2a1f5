// MTFilt: the filter language of a dataset's Filter text. TExprParser turns
// the text into a tree of TExprNode; TExprFilter checks the tree against the
// dataset's fields, converts its constants once and judges each record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

namespace vesk {

class TDataSet;
class TField;

enum TFilterToken : uint8_t {
  xtEnd, xtIdent, xtName, xtLiteral, xtLParen, xtRParen,
  xtEqual, xtNotEqual, xtGreaterEqual, xtLessEqual, xtGreater, xtLess,
};

enum TNodeKind : uint8_t { nkField = 0, nkConst = 1, nkOperator = 2 };

enum TNodeOperator : uint8_t {
  noNone = 0, noAnd = 1, noOr = 2, noNot = 3, noLess = 4, noLessEqual = 5,
  noEqual = 6, noGreaterEqual = 7, noGreater = 8, noNotEqual = 9,
};

struct TExprNode {
  TExprNode() = default;
  // Frees the subtrees without recursion: a long chain of ORs is as deep as
  // it is long.
  ~TExprNode();
  TExprNode(const TExprNode&) = delete;
  TExprNode& operator=(const TExprNode&) = delete;

  TNodeKind Kind = nkConst;
  TNodeOperator Operator = noNone;
  Variant Value;
  int32_t PartialLength = -1;
  std::unique_ptr<TExprNode> Left;
  std::unique_ptr<TExprNode> Right;
};

class TExprParser {
 public:
  explicit TExprParser(TDataSet* dataset);
  // Parses the dataset's Filter text into Root; EDatabaseError on a bad text
  // (Root is then empty).
  void Parse();
  std::unique_ptr<TExprNode> Root;

  // Exposed for tests of the lexical rules.
  TFilterToken Token() const { return token_; }
  const std::string& TokenText() const { return token_text_; }

 private:
  void ReadToken();
  void ReadQuotedText();
  void ReadNumberRun();
  void ReadBracketedName();
  void ReadIdentifier();
  unsigned char At(size_t pos) const;
  bool TokenIs(std::string_view word) const;
  std::string DescribeToken() const;

  std::unique_ptr<TExprNode> ParseOr();
  std::unique_ptr<TExprNode> ParseAnd();
  std::unique_ptr<TExprNode> ParseChain(std::string_view word, TNodeOperator op,
                                        std::unique_ptr<TExprNode> (TExprParser::*term)());
  std::unique_ptr<TExprNode> ParseNot();
  std::unique_ptr<TExprNode> ParseComparison();
  std::unique_ptr<TExprNode> ParsePrimary();

  TDataSet* dataset_;
  std::string text_;
  size_t source_pos_ = 0;
  size_t token_pos_ = 0;
  std::string token_text_;
  TFilterToken token_ = xtEnd;
  // Open parentheses around the current position.
  int depth_ = 0;
};

// One slot of the evaluation stack: Kind 0 a field name and 1 a constant,
// both pointing at the Value of their node in the tree; 2 a condition with
// its result.
struct TStackNode {
  uint8_t Kind = 0;
  const Variant* Value = nullptr;
  bool Condition = false;
};

// The evaluation stack; slots are kept for reuse so a walk allocates nothing
// once the first record has been evaluated.
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
    if (top_ == 0) [[unlikely]] Underflow();
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

class TExprFilter {
 public:
  explicit TExprFilter(TDataSet* dataset);
  ~TExprFilter();
  TExprFilter(const TExprFilter&) = delete;
  TExprFilter& operator=(const TExprFilter&) = delete;

  // true: prepares the dataset's Filter text under its FilterOptions (Active
  // only when that succeeds; raises the failure); false: releases the tree.
  void SetActive(bool active);
  bool Active() const { return active_; }
  // Whether the record the dataset's fields show passes; true when inactive.
  bool Evaluate();

  // Slots of the evaluation stack, for tests of their reuse.
  int StackSlots() const { return stack_.Count(); }

 private:
  void Prepare();
  void Unprepare();
  // One walk over the tree in post-order: the preparing walk converts the
  // constants and checks the operands, every later walk only evaluates.
  bool Walk(bool preparing);
  void PrepareOperator(TExprNode& node);
  void EvaluateOperator(const TExprNode& node);
  // The result of a comparison of a field's current value with a constant.
  bool Compare(const TExprNode& node, TField* field, const Variant& right);
  // The result of a binary operator over two values.
  bool Result(const TExprNode& node, const Variant& left, const Variant& right) const;
  void ApplyWildcard(TExprNode& node, Variant& constant) const;

  TDataSet* dataset_;
  TExprParser parser_;
  TStack stack_;
  bool active_ = false;
  uint32_t options_ = 0;
  // The tree's nodes in post-order (left subtree, right subtree, node).
  std::vector<TExprNode*> order_;
  // A text field's data as the dataset gives it, reused for every record.
  std::vector<char> text_;
  std::string scratch_;  // a constant of another type than text, as text
};

}  // namespace vesk
