// The lexical rules of the filter language: TExprLexer::ReadToken and the
// scanners of its token kinds.
#include "tools/filter/expr_tokens.h"

#include <algorithm>
#include <utility>

#include "platform/regional_settings.h"
#include "toolkit/data/database_error.h"
#include "tools/filter/filter_messages.h"

namespace vesk {
namespace {

// Characters a quoted text keeps; the rest is consumed and dropped.
constexpr int kMaxQuotedChars = 256;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsIdentChar(unsigned char c) { return IsAsciiLetter(c) || IsDigit(c) || c == '_'; }
bool IsNumberChar(unsigned char c) { return IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e'; }

}  // namespace

void TExprLexer::Start(std::string text) {
  text_ = std::move(text);
  source_pos_ = 0;
}

// A NUL byte ends the text like its end does.
unsigned char TExprLexer::At(size_t pos) const {
  return pos < text_.size() ? static_cast<unsigned char>(text_[pos]) : 0;
}

void TExprLexer::ReadToken() {
  token_text_.clear();
  size_t pos = source_pos_;
  while (At(pos) >= 1 && At(pos) <= 32) ++pos;
  token_pos_ = pos;
  source_pos_ = pos + 1;
  const unsigned char c = At(pos);
  switch (c) {
    case 0:
      token_ = xtEnd;
      source_pos_ = pos;
      return;
    case '\'': return ReadQuotedText();
    case '[': return ReadBracketedName();
    case '(': token_ = xtLParen; return;
    case ')': token_ = xtRParen; return;
    case '=': token_ = xtEqual; return;
    case '<':
      token_ = xtLess;
      if (At(pos + 1) == '=') token_ = xtLessEqual;
      if (At(pos + 1) == '>') token_ = xtNotEqual;
      if (token_ != xtLess) ++source_pos_;
      return;
    case '>':
      token_ = xtGreater;
      if (At(pos + 1) == '=') {
        token_ = xtGreaterEqual;
        ++source_pos_;
      }
      return;
    default: break;
  }
  if (c == '-' || IsDigit(c)) return ReadNumberRun();
  // Under UTF-8 a byte above 127 starts an identifier only as the lead byte
  // of a character; a stray continuation byte would make an empty one.
  const bool high_start = c >= 129 && c <= 254 && (!IsMultiByteCodePage() || IsLeadByte(c));
  if (IsAsciiLetter(c) || c == '_' || high_start) return ReadIdentifier();
  DatabaseErrorFmt(kSExprInvalidChar, {std::string_view(&text_[pos], 1)});
}

void TExprLexer::ReadQuotedText() {
  size_t pos = token_pos_ + 1;
  int kept = 0;
  for (;;) {
    const unsigned char c = At(pos);
    if (c == 0) DatabaseError(kSExprStringError);
    if (c == '\'') {
      if (At(pos + 1) != '\'') break;
      ++pos;  // two quotes stand for one
    }
    const int length = CharLength(&text_[pos], static_cast<int>(text_.size() - pos));
    if (kept < kMaxQuotedChars) token_text_.append(text_, pos, static_cast<size_t>(length));
    ++kept;
    pos += static_cast<size_t>(length);
  }
  token_ = xtLiteral;
  source_pos_ = pos + 1;
}

void TExprLexer::ReadNumberRun() {
  size_t pos = token_pos_ + 1;
  while (IsNumberChar(At(pos))) ++pos;
  token_ = xtLiteral;
  token_text_.assign(text_, token_pos_, pos - token_pos_);
  source_pos_ = pos;
}

void TExprLexer::ReadBracketedName() {
  size_t pos = token_pos_ + 1;
  while (At(pos) != ']') {
    if (At(pos) == 0) DatabaseError(kSExprNameError);
    pos += static_cast<size_t>(CharLength(&text_[pos], static_cast<int>(text_.size() - pos)));
  }
  token_ = xtName;
  token_text_.assign(text_, token_pos_ + 1, pos - token_pos_ - 1);
  source_pos_ = pos + 1;
}

void TExprLexer::ReadIdentifier() {
  size_t pos = token_pos_;
  if (IsMultiByteCodePage()) {
    for (;;) {
      const unsigned char c = At(pos);
      if (IsIdentChar(c)) {
        ++pos;
      } else if (IsLeadByte(c)) {
        pos += static_cast<size_t>(CharLength(&text_[pos], static_cast<int>(text_.size() - pos)));
      } else {
        break;
      }
    }
  } else {
    ++pos;
    while (IsIdentChar(At(pos))) ++pos;
  }
  token_ = xtIdent;
  token_text_.assign(text_, token_pos_, pos - token_pos_);
  source_pos_ = pos;
}

bool TExprLexer::TokenIs(std::string_view word) const {
  auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
  return token_ == xtIdent && std::ranges::equal(token_text_, word, [&](char a, char b) {
           return fold(static_cast<unsigned char>(a)) == fold(static_cast<unsigned char>(b));
         });
}

std::string TExprLexer::DescribeToken() const {
  if (source_pos_ <= token_pos_) return std::string(kSExprEmpty);
  return "'" + text_.substr(token_pos_, source_pos_ - token_pos_) + "'";
}

}  // namespace vesk
