// MTFilt: the filter language of a dataset's Filter text, as one include.
// The lexer (expr_tokens.h) and the parser (expr_parser.h) turn the text into
// a tree (expr_tree.h); the filter (expr_filter.h) checks the tree against
// the dataset's fields and judges each record over its stack (expr_stack.h).
#pragma once

#include "tools/filter/expr_filter.h"
#include "tools/filter/expr_parser.h"
#include "tools/filter/expr_stack.h"
#include "tools/filter/expr_tokens.h"
#include "tools/filter/expr_tree.h"
