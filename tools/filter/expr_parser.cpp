// The grammar of the filter language: TExprParser::Parse and its levels,
// from OR (lowest precedence) down to the primaries.
#include "tools/filter/expr_parser.h"

#include "toolkit/data/database_error.h"
#include "toolkit/data/dataset.h"
#include "tools/filter/filter_messages.h"

namespace vesk {
namespace {

// Parentheses the parser follows; each level costs a few stack frames.
constexpr int kMaxDepth = 256;

std::unique_ptr<TExprNode> NewNode(TNodeKind kind, TNodeOperator op, Variant value,
                                   std::unique_ptr<TExprNode> left = nullptr,
                                   std::unique_ptr<TExprNode> right = nullptr) {
  auto node = std::make_unique<TExprNode>();
  node->Kind = kind;
  node->Operator = op;
  node->Value = std::move(value);
  node->Left = std::move(left);
  node->Right = std::move(right);
  return node;
}

TNodeOperator ComparisonOf(TFilterToken token) {
  switch (token) {
    case xtEqual: return noEqual;
    case xtNotEqual: return noNotEqual;
    case xtGreaterEqual: return noGreaterEqual;
    case xtLessEqual: return noLessEqual;
    case xtGreater: return noGreater;
    case xtLess: return noLess;
    default: return noNone;
  }
}

}  // namespace

TExprParser::TExprParser(TDataSet* dataset) : dataset_(dataset) {}

void TExprParser::Parse() {
  Root.reset();
  lexer_.Start(dataset_->Filter());
  depth_ = 0;
  lexer_.ReadToken();
  std::unique_ptr<TExprNode> root = ParseOr();
  if (lexer_.Token() != xtEnd) DatabaseError(kSExprTermination);
  Root = std::move(root);
}

std::unique_ptr<TExprNode> TExprParser::ParseOr() { return ParseChain("OR", noOr, &TExprParser::ParseAnd); }

std::unique_ptr<TExprNode> TExprParser::ParseAnd() { return ParseChain("AND", noAnd, &TExprParser::ParseNot); }

// Terms of the next level joined by the word, from left to right:
// a OR b OR c is (a OR b) OR c.
std::unique_ptr<TExprNode> TExprParser::ParseChain(std::string_view word, TNodeOperator op,
                                                   std::unique_ptr<TExprNode> (TExprParser::*term)()) {
  std::unique_ptr<TExprNode> result = (this->*term)();
  while (lexer_.TokenIs(word)) {
    lexer_.ReadToken();
    std::unique_ptr<TExprNode> right = (this->*term)();
    result = NewNode(nkOperator, op, Variant(), std::move(result), std::move(right));
  }
  return result;
}

std::unique_ptr<TExprNode> TExprParser::ParseNot() {
  if (!lexer_.TokenIs("NOT")) return ParseComparison();
  lexer_.ReadToken();
  return NewNode(nkOperator, noNot, Variant(), ParseComparison());
}

std::unique_ptr<TExprNode> TExprParser::ParseComparison() {
  std::unique_ptr<TExprNode> left = ParsePrimary();
  const TNodeOperator op = ComparisonOf(lexer_.Token());
  if (op == noNone) return left;
  lexer_.ReadToken();
  std::unique_ptr<TExprNode> right = ParsePrimary();
  return NewNode(nkOperator, op, Variant(), std::move(left), std::move(right));
}

std::unique_ptr<TExprNode> TExprParser::ParsePrimary() {
  std::unique_ptr<TExprNode> result;
  switch (lexer_.Token()) {
    case xtIdent:
      if (lexer_.TokenIs("NULL")) {
        result = NewNode(nkConst, noNone, Variant::Null());
      } else if (lexer_.TokenIs("True")) {
        result = NewNode(nkConst, noNone, Variant(true));
      } else if (lexer_.TokenIs("False")) {
        result = NewNode(nkConst, noNone, Variant(false));
      } else {
        result = NewNode(nkField, noNone, Variant(lexer_.TokenText()));
      }
      break;
    case xtName: result = NewNode(nkField, noNone, Variant(lexer_.TokenText())); break;
    case xtLiteral: result = NewNode(nkConst, noNone, Variant(lexer_.TokenText())); break;
    case xtLParen:
      if (++depth_ > kMaxDepth) DatabaseError(kSExprTooDeep);
      lexer_.ReadToken();
      result = ParseOr();
      if (lexer_.Token() != xtRParen) DatabaseErrorFmt(kSExprNoRParen, {lexer_.DescribeToken()});
      --depth_;
      break;
    default: DatabaseErrorFmt(kSExprExpected, {lexer_.DescribeToken()});
  }
  lexer_.ReadToken();
  return result;
}

}  // namespace vesk
