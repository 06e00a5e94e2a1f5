#include "platform/caseless_text.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <optional>
#include <string>

namespace vesk {
namespace {

// The text as UTF-16, or nothing when it is not valid UTF-8 (ICU would put
// U+FFFD in place of each fault, which reads back differently).
std::optional<icu::UnicodeString> Decode(std::string_view text) {
  icu::UnicodeString decoded =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  std::string encoded;
  decoded.toUTF8String(encoded);
  if (encoded != text) return std::nullopt;
  return decoded;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  std::optional<icu::UnicodeString> wideA = Decode(a);
  std::optional<icu::UnicodeString> wideB = Decode(b);
  if (wideA && wideB) return wideA->caseCompare(*wideB, U_FOLD_CASE_DEFAULT) == 0;
  return std::ranges::equal(a, b, [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace vesk
