// The lexical rules of the filter language: TExprLexer cuts a filter text
// into tokens, one at a time, as the parser asks for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

enum TFilterToken : uint8_t {
  xtEnd,
  xtIdent,
  xtName,
  xtLiteral,
  xtLParen,
  xtRParen,
  xtEqual,
  xtNotEqual,
  xtGreaterEqual,
  xtLessEqual,
  xtGreater,
  xtLess,
};

class TExprLexer {
 public:
  // Starts over at the beginning of text; the first ReadToken reads its
  // first token.
  void Start(std::string text);
  // Scans the next token; EDatabaseError on a character no token starts
  // with, an open quoted text or an open bracketed name.
  void ReadToken();

  TFilterToken Token() const { return token_; }
  // For quoted text the unquoted characters, for a bracketed name the name.
  const std::string& TokenText() const { return token_text_; }
  // Whether the token is the bare word, in any case of its ASCII letters.
  bool TokenIs(std::string_view word) const;
  // The token as a message shows it: quoted, or "leer" at the end.
  std::string DescribeToken() const;

 private:
  void ReadQuotedText();
  void ReadNumberRun();
  void ReadBracketedName();
  void ReadIdentifier();
  unsigned char At(size_t pos) const;

  std::string text_;
  // Just behind the current token.
  size_t source_pos_ = 0;
  // Where the current token starts, after the blanks skipped.
  size_t token_pos_ = 0;
  std::string token_text_;
  TFilterToken token_ = xtEnd;
};

}  // namespace vesk
