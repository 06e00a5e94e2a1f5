// The grammar of the filter language: TExprParser turns a dataset's Filter
// text into a tree of TExprNode. It neither looks fields up nor converts
// constants; that is the filter's business.
#pragma once

#include <memory>
#include <string_view>

#include "tools/filter/expr_tokens.h"
#include "tools/filter/expr_tree.h"

namespace vesk {

class TDataSet;

class TExprParser {
 public:
  explicit TExprParser(TDataSet* dataset);
  // Parses the dataset's Filter text into Root; EDatabaseError on a bad text
  // (Root is then empty).
  void Parse();
  std::unique_ptr<TExprNode> Root;

 private:
  std::unique_ptr<TExprNode> ParseOr();
  std::unique_ptr<TExprNode> ParseAnd();
  std::unique_ptr<TExprNode> ParseChain(std::string_view word, TNodeOperator op,
                                        std::unique_ptr<TExprNode> (TExprParser::*term)());
  std::unique_ptr<TExprNode> ParseNot();
  std::unique_ptr<TExprNode> ParseComparison();
  std::unique_ptr<TExprNode> ParsePrimary();

  TDataSet* dataset_;
  TExprLexer lexer_;
  // Open parentheses around the current position.
  int depth_ = 0;
};

}  // namespace vesk
