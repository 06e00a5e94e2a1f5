// TExprFilter: decides for each record of a dataset whether it passes the
// dataset's Filter text. It checks the parsed tree against the dataset's
// fields, converts its constants once and judges each record with a walk
// over the evaluation stack.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/filter/expr_parser.h"
#include "tools/filter/expr_stack.h"

namespace vesk {

class TDataSet;
class TField;

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

  // The prepared tree (none while inactive), its constants converted and
  // its text comparisons marked, and the options it was prepared under.
  const TExprNode* Tree() const { return active_ ? parser_.Root.get() : nullptr; }
  uint32_t Options() const { return options_; }

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
