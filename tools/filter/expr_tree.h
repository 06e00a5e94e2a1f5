// Walking a filter tree without recursion, so that its depth (a chain of
// ORs is as deep as it is long) cannot exhaust the call stack.
#pragma once

#include <vector>

#include "tools/filter/MTFilt.h"

namespace vesk {

// The nodes under root in post-order: left subtree, right subtree, node.
std::vector<TExprNode*> PostOrder(TExprNode* root);

}  // namespace vesk
