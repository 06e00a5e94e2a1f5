#include "toolkit/data/edit_mask.h"

#include <QChar>
#include <QString>
#include <algorithm>

#include "runtime/format_settings.h"

namespace vesk {

namespace {

std::u32string ToU32(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU32String();
}

std::string ToUtf8(const std::u32string& text) { return QString::fromStdU32String(text).toStdString(); }

}  // namespace

TEditMask::TEditMask(std::string_view mask) {
  std::u32string text = ToU32(mask);
  // Trailing ";<blank>" and ";<0|1>" sections.
  if (text.size() >= 2 && text[text.size() - 2] == U';') {
    blank_ = text.back();
    text.resize(text.size() - 2);
  }
  if (text.size() >= 2 && text[text.size() - 2] == U';' && (text.back() == U'0' || text.back() == U'1')) {
    saveLiterals_ = text.back() == U'1';
    text.resize(text.size() - 2);
  }
  const FormatSettings& settings = GetFormatSettings();
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    switch (c) {
      case U'!': leadingBlanks_ = true; break;
      case U'0': positions_.push_back({Kind::Digit, true, 0}); break;
      case U'9': positions_.push_back({Kind::Digit, false, 0}); break;
      case U'#': positions_.push_back({Kind::DigitOrSign, false, 0}); break;
      case U'L': positions_.push_back({Kind::Letter, true, 0}); break;
      case U'l': positions_.push_back({Kind::Letter, false, 0}); break;
      case U'A': positions_.push_back({Kind::Alnum, true, 0}); break;
      case U'a': positions_.push_back({Kind::Alnum, false, 0}); break;
      case U'C': positions_.push_back({Kind::Any, true, 0}); break;
      case U'c': positions_.push_back({Kind::Any, false, 0}); break;
      case U'/': positions_.push_back({Kind::Literal, false, static_cast<char32_t>(settings.dateSeparator)}); break;
      case U':': positions_.push_back({Kind::Literal, false, static_cast<char32_t>(settings.timeSeparator)}); break;
      case U'\\':
        if (i + 1 < text.size()) positions_.push_back({Kind::Literal, false, text[++i]});
        break;
      default: positions_.push_back({Kind::Literal, false, c}); break;
    }
  }
}

bool TEditMask::IsLiteral(int position) const { return positions_.at(position).kind == Kind::Literal; }

bool TEditMask::Accepts(int position, char32_t c) const {
  const Position& p = positions_.at(position);
  const bool digit = c >= U'0' && c <= U'9';
  switch (p.kind) {
    case Kind::Literal: return c == p.literal;
    case Kind::Digit: return digit;
    case Kind::DigitOrSign: return digit || c == U'+' || c == U'-';
    case Kind::Letter: return c <= 0xFFFF && QChar(static_cast<char16_t>(c)).isLetter();
    case Kind::Alnum: return c <= 0xFFFF && QChar(static_cast<char16_t>(c)).isLetterOrNumber();
    case Kind::Any: return true;
  }
  return false;
}

std::string TEditMask::EditText(std::string_view value) const {
  if (IsEmpty()) return std::string(value);
  const std::u32string text = ToU32(value);
  const size_t length = positions_.size();
  std::u32string result(length, blank_);
  auto put = [&](size_t position, char32_t c) {
    if (Filled(c)) result[position] = c;
  };
  if (text.size() == length) {
    // An edit text, or a stored text of full length: position by position.
    for (size_t i = 0; i < length; ++i) {
      if (positions_[i].kind == Kind::Literal)
        result[i] = positions_[i].literal;
      else
        put(i, text[i]);
    }
    return ToUtf8(result);
  }
  // A shorter text: each run of editable positions between two literals
  // takes the text up to the next literal (all of it without literals),
  // aligned to the right with "!", else to the left.
  size_t next = 0;
  for (size_t start = 0; start < length;) {
    if (positions_[start].kind == Kind::Literal) {
      result[start] = positions_[start].literal;
      if (saveLiterals_ && next < text.size() && text[next] == positions_[start].literal) ++next;
      ++start;
      continue;
    }
    size_t end = start;
    while (end < length && positions_[end].kind != Kind::Literal) ++end;
    size_t stop = text.size();
    if (saveLiterals_ && end < length) stop = std::min(text.find(positions_[end].literal, next), text.size());
    std::u32string part = text.substr(next, std::min(stop - next, end - start));
    next += part.size();
    if (saveLiterals_) next = std::max(next, stop);
    const size_t offset = leadingBlanks_ ? end - start - part.size() : 0;
    for (size_t i = 0; i < part.size(); ++i) put(start + offset + i, part[i]);
    start = end;
  }
  return ToUtf8(result);
}

std::string TEditMask::ValueText(std::string_view editText) const {
  if (IsEmpty()) return std::string(editText);
  const std::u32string text = ToU32(EditText(editText));
  if (IsBlank(editText)) return {};
  std::u32string result;
  for (size_t i = 0; i < positions_.size(); ++i) {
    if (positions_[i].kind == Kind::Literal) {
      if (saveLiterals_) result += positions_[i].literal;
    } else {
      result += Filled(text[i]) ? text[i] : U' ';
    }
  }
  return ToUtf8(result);
}

bool TEditMask::IsComplete(std::string_view editText) const {
  if (IsEmpty()) return true;
  const std::u32string text = ToU32(EditText(editText));
  for (size_t i = 0; i < positions_.size(); ++i) {
    const Position& p = positions_[i];
    if (p.kind == Kind::Literal) continue;
    if (Filled(text[i]) ? !Accepts(static_cast<int>(i), text[i]) : p.required) return false;
  }
  return true;
}

bool TEditMask::IsBlank(std::string_view editText) const {
  const std::u32string text = ToU32(EditText(editText));
  for (size_t i = 0; i < positions_.size(); ++i)
    if (positions_[i].kind != Kind::Literal && Filled(text[i])) return false;
  return true;
}

int TEditMask::FirstBlank(std::string_view editText) const {
  const std::u32string text = ToU32(EditText(editText));
  for (size_t i = 0; i < positions_.size(); ++i)
    if (positions_[i].kind != Kind::Literal && !Filled(text[i])) return static_cast<int>(i);
  return -1;
}

void TEditMask::PartAt(int position, int& start, int& end) const {
  const int length = Length();
  start = end = std::clamp(position, 0, length);
  while (start > 0 && positions_[start - 1].kind != Kind::Literal) --start;
  while (end < length && positions_[end].kind != Kind::Literal) ++end;
}

void TEditMask::AlignRight(std::u32string& text, int start, int end, bool pad) const {
  std::u32string input;
  for (int i = start; i < end; ++i)
    if (Filled(text[i])) input += text[i];
  const int free = end - start - static_cast<int>(input.size());
  for (int i = start; i < end; ++i) {
    const bool digit = positions_[i].kind == Kind::Digit || positions_[i].kind == Kind::DigitOrSign;
    text[i] = i - start >= free ? input[i - start - free] : pad && digit ? U'0' : blank_;
  }
}

bool TEditMask::CompletePart(std::string& editText, int& caret, char32_t typed) const {
  std::u32string text = ToU32(EditText(editText));
  int start = 0, end = 0;
  PartAt(caret, start, end);
  const auto filled = [&](int from, int to) {
    for (int i = from; i < to; ++i)
      if (Filled(text[i])) return true;
    return false;
  };
  // Right after the literal that was typed: it was passed already.
  if (caret == start && start > 0 && positions_[start - 1].literal == typed && !filled(start, end)) return true;
  if (end >= Length() || positions_[end].literal != typed || !filled(start, end)) return false;
  AlignRight(text, start, end, true);
  editText = ToUtf8(text);
  caret = end + 1;
  while (caret < Length() && positions_[caret].kind == Kind::Literal) ++caret;
  return true;
}

std::string TEditMask::AlignParts(std::string_view editText) const {
  if (!leadingBlanks_) return std::string(editText);
  std::u32string text = ToU32(EditText(editText));
  for (int start = 0; start < Length(); ++start) {
    if (positions_[start].kind == Kind::Literal) continue;
    int end = start;
    while (end < Length() && positions_[end].kind != Kind::Literal) ++end;
    AlignRight(text, start, end, false);
    start = end;
  }
  return ToUtf8(text);
}

}  // namespace vesk
