// The filter tree: freeing it and walking it, both without recursion.
#include "tools/filter/expr_tree.h"

#include <utility>

namespace vesk {

TExprNode::~TExprNode() {
  // Children are detached before they die, so no destructor recurses.
  std::vector<std::unique_ptr<TExprNode>> pending;
  if (Left) pending.push_back(std::move(Left));
  if (Right) pending.push_back(std::move(Right));
  while (!pending.empty()) {
    std::unique_ptr<TExprNode> node = std::move(pending.back());
    pending.pop_back();
    if (node->Left) pending.push_back(std::move(node->Left));
    if (node->Right) pending.push_back(std::move(node->Right));
  }
}

std::vector<TExprNode*> PostOrder(TExprNode* root) {
  std::vector<TExprNode*> order;
  // Each entry: a node and whether its children are already in the order.
  std::vector<std::pair<TExprNode*, bool>> pending;
  if (root != nullptr) pending.emplace_back(root, false);
  while (!pending.empty()) {
    auto [node, expanded] = pending.back();
    pending.pop_back();
    if (expanded) {
      order.push_back(node);
      continue;
    }
    pending.emplace_back(node, true);
    if (node->Right) pending.emplace_back(node->Right.get(), false);
    if (node->Left) pending.emplace_back(node->Left.get(), false);
  }
  return order;
}

}  // namespace vesk
