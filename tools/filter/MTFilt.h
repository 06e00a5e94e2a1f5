// MTFilt: the filter language of a dataset's Filter text. TExprParser turns
// the text into a tree of TExprNode; TExprFilter checks the tree against the
// dataset's fields, converts its constants once and judges each record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/variant.h"

namespace vesk {

class TDataSet;

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
  // Implementation details are the parser's own.
  TDataSet* dataset_;
  std::string text_;
  size_t source_pos_ = 0;
  size_t token_pos_ = 0;
  std::string token_text_;
  TFilterToken token_ = xtEnd;
};

// One slot of the evaluation stack: 0 a field name, 1 a constant, 2 a condition.
struct TStackNode {
  uint8_t Kind = 0;
  Variant Value;
};

// The evaluation stack; slots are kept for reuse so a walk allocates nothing
// once the first record has been evaluated.
class TStack {
 public:
  void Push(uint8_t kind, const Variant& value);
  TStackNode Pop();
  void Clear();
  int Top() const { return top_; }
  int Count() const { return static_cast<int>(slots_.size()); }

 private:
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

 private:
  TDataSet* dataset_;
  TExprParser parser_;
  TStack stack_;
  bool active_ = false;
  uint32_t options_ = 0;
};

}  // namespace vesk
