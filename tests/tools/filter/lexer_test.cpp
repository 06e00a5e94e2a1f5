// The filter lexer on its own: the token stream the parser reads, the words
// it recognises and how a token is described in messages.
#include "tools/filter/expr_tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

std::vector<std::pair<TFilterToken, std::string>> Tokens(TExprLexer& lexer, const std::string& text) {
  std::vector<std::pair<TFilterToken, std::string>> tokens;
  lexer.Start(text);
  do {
    lexer.ReadToken();
    tokens.emplace_back(lexer.Token(), lexer.TokenText());
  } while (lexer.Token() != xtEnd);
  return tokens;
}

TEST(FilterLexer, EveryTokenKindWithItsText) {
  TExprLexer lexer;
  const std::vector<std::pair<TFilterToken, std::string>> expected = {
      {xtIdent, "Nr"},   {xtEqual, ""},         {xtLiteral, "-1.5E3"}, {xtName, "Vor name"},
      {xtNotEqual, ""},  {xtLiteral, "O'Neil"}, {xtLParen, ""},        {xtGreaterEqual, ""},
      {xtLessEqual, ""}, {xtGreater, ""},       {xtLess, ""},          {xtRParen, ""},
      {xtEnd, ""}};
  EXPECT_EQ(Tokens(lexer, "Nr=-1.5E3 [Vor name]<>'O''Neil'(>=<=> <)"), expected);
  // The end stays the end.
  lexer.ReadToken();
  EXPECT_EQ(lexer.Token(), xtEnd);
}

TEST(FilterLexer, WordsDescriptionsAndARestartAfterAFailure) {
  TExprLexer lexer;
  lexer.Start("and [and] 'and'");
  lexer.ReadToken();
  EXPECT_TRUE(lexer.TokenIs("AND"));
  EXPECT_FALSE(lexer.TokenIs("AN"));
  EXPECT_EQ(lexer.DescribeToken(), "'and'");
  lexer.ReadToken();
  EXPECT_FALSE(lexer.TokenIs("AND"));  // a bracketed name is no word
  EXPECT_EQ(lexer.DescribeToken(), "'[and]'");
  lexer.ReadToken();
  EXPECT_FALSE(lexer.TokenIs("AND"));
  lexer.ReadToken();
  EXPECT_EQ(lexer.DescribeToken(), "leer");

  lexer.Start("a = 'open");
  lexer.ReadToken();
  lexer.ReadToken();
  EXPECT_THROW(lexer.ReadToken(), EDatabaseError);
  // Starting over forgets the failed scan.
  EXPECT_EQ(Tokens(lexer, "b"), (std::vector<std::pair<TFilterToken, std::string>>{{xtIdent, "b"}, {xtEnd, ""}}));
}

}  // namespace
}  // namespace vesk
