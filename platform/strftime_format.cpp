#include "platform/strftime_format.h"

#include <vector>

namespace vesk {
namespace {

// A conversion letter of strftime, or literal text when letter is 0.
struct Token {
  char letter = 0;
  std::string text;
};

void AddLiteral(std::vector<Token>& tokens, std::string_view text) {
  if (tokens.empty() || tokens.back().letter != 0) tokens.push_back(Token{});
  tokens.back().text += text;
}

void Tokenize(std::string_view format, std::vector<Token>& tokens) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      AddLiteral(tokens, format.substr(i, 1));
      continue;
    }
    // Flags, field width and the E and O modifiers do not change which
    // value a conversion shows.
    ++i;
    while (i < format.size() && std::string_view("_-0^#123456789EO").find(format[i]) != std::string_view::npos) {
      ++i;
    }
    if (i == format.size()) break;
    switch (format[i]) {
      case 'D': Tokenize("%m/%d/%y", tokens); break;
      case 'F': Tokenize("%Y-%m-%d", tokens); break;
      case 'T': Tokenize("%H:%M:%S", tokens); break;
      case 'R': Tokenize("%H:%M", tokens); break;
      case 'r': Tokenize("%I:%M:%S %p", tokens); break;
      case 'n': AddLiteral(tokens, "\n"); break;
      case 't': AddLiteral(tokens, "\t"); break;
      case '%': AddLiteral(tokens, "%"); break;
      default: tokens.push_back(Token{format[i], {}});
    }
  }
}

std::vector<Token> Fields(std::string_view format) {
  std::vector<Token> tokens;
  Tokenize(format, tokens);
  // Text before the first and after the last field ("г.", a trailing dot) is
  // left out: the parsers would not expect it.
  if (!tokens.empty() && tokens.front().letter == 0) tokens.erase(tokens.begin());
  if (!tokens.empty() && tokens.back().letter == 0) tokens.pop_back();
  return tokens;
}

bool Blank(std::string_view text) { return text.find_first_not_of(" \t") == std::string::npos; }

// The one character that joins two fields: the literal without blanks, a
// single ASCII punctuation character that the format letters and the
// parsers do not take for something else.
std::optional<char> Separator(const Token& token, std::string_view refused) {
  std::string text;
  for (char c : token.text) {
    if (c != ' ' && c != '\t') text += c;
  }
  if (token.letter != 0 || text.size() != 1) return std::nullopt;
  unsigned char c = static_cast<unsigned char>(text[0]);
  bool punctuation = c > ' ' && c < 0x7F && !(c >= '0' && c <= '9') && !((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
  if (!punctuation || std::string_view("'\"").find(text[0]) != std::string_view::npos ||
      refused.find(text[0]) != std::string_view::npos) {
    return std::nullopt;
  }
  return text[0];
}

// Fields at the even positions, one separator repeated at the odd ones.
std::optional<char> CommonSeparator(const std::vector<Token>& tokens, std::string_view refused) {
  std::optional<char> separator;
  for (size_t i = 1; i < tokens.size(); i += 2) {
    std::optional<char> here = Separator(tokens[i], refused);
    if (!here || (separator && *here != *separator)) return std::nullopt;
    separator = here;
  }
  for (size_t i = 0; i < tokens.size(); i += 2) {
    if (tokens[i].letter == 0) return std::nullopt;
  }
  return separator;
}

std::string_view DateLetters(char letter) {
  switch (letter) {
    case 'd': return "dd";
    case 'e': return "d";
    case 'm': return "mm";
    case 'Y': return "yyyy";
    case 'y': return "yy";
    default: return {};
  }
}

std::string_view TimeLetters(char letter) {
  switch (letter) {
    case 'H':
    case 'I': return "hh";
    case 'k':
    case 'l': return "h";
    case 'M': return "nn";
    case 'S': return "ss";
    default: return {};
  }
}

}  // namespace

std::optional<DateFormat> TranslateDateFormat(std::string_view strftime) {
  std::vector<Token> tokens = Fields(strftime);
  if (tokens.size() != 5) return std::nullopt;
  // ":" would be written as the time separator.
  std::optional<char> separator = CommonSeparator(tokens, ":");
  if (!separator) return std::nullopt;
  DateFormat result{{}, *separator};
  std::string kinds;
  for (size_t i = 0; i < tokens.size(); i += 2) {
    std::string_view letters = DateLetters(tokens[i].letter);
    if (letters.empty() || kinds.find(letters[0]) != std::string::npos) return std::nullopt;
    kinds += letters[0];
    if (!result.format.empty()) result.format += *separator;
    result.format += letters;
  }
  return result;
}

std::optional<TimeFormat> TranslateTimeFormat(std::string_view strftime) {
  std::vector<Token> tokens = Fields(strftime);
  // The designator may follow the time, after blanks.
  std::string designator;
  if (!tokens.empty() && tokens.back().letter == 'p') {
    tokens.pop_back();
    designator = "ampm";
    if (!tokens.empty() && tokens.back().letter == 0) {
      if (!Blank(tokens.back().text)) return std::nullopt;
      designator = " ampm";
      tokens.pop_back();
    }
  }
  if (tokens.size() != 3 && tokens.size() != 5) return std::nullopt;
  // "/" would be written as the date separator.
  std::optional<char> separator = CommonSeparator(tokens, "/");
  if (!separator) return std::nullopt;
  // Hours, minutes and seconds, in this order.
  const std::string_view order = "hns";
  std::string longFormat;
  std::string shortFormat;
  for (size_t i = 0; i < tokens.size(); i += 2) {
    std::string_view letters = TimeLetters(tokens[i].letter);
    if (letters.empty() || letters[0] != order[i / 2]) return std::nullopt;
    if (i > 0) longFormat += ':';
    longFormat += letters;
    if (i == 2) shortFormat = longFormat;
  }
  TimeFormat result;
  result.separator = *separator;
  result.twelveHour = !designator.empty();
  result.longFormat = longFormat + designator;
  result.shortFormat = shortFormat + designator;
  return result;
}

}  // namespace vesk
