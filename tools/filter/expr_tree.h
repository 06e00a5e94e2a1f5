// The tree a filter text parses into, and walking it without recursion, so
// that its depth (a chain of ORs is as deep as it is long) cannot exhaust the
// call stack.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/variant.h"

namespace vesk {

enum TNodeKind : uint8_t { nkField = 0, nkConst = 1, nkOperator = 2 };

enum TNodeOperator : uint8_t {
  noNone = 0,
  noAnd = 1,
  noOr = 2,
  noNot = 3,
  noLess = 4,
  noLessEqual = 5,
  noEqual = 6,
  noGreaterEqual = 7,
  noGreater = 8,
  noNotEqual = 9,
};

struct TExprNode {
  TExprNode() = default;
  // Frees the subtrees without recursion.
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

// The nodes under root in post-order: left subtree, right subtree, node.
std::vector<TExprNode*> PostOrder(TExprNode* root);

}  // namespace vesk
