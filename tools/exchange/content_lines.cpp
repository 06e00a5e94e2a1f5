#include "tools/exchange/content_lines.h"

#include <algorithm>
#include <cctype>

#include "runtime/conversions.h"
#include "tools/exchange/byte_scan.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "=XX" is the byte XX; an "=" that begins no such pair stands as it is.
std::string DecodeQuotedPrintable(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      bytes += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// A parameter's values, split at commas outside double quotes, the quotes
// removed, each appended to parameters under name. pos stands after the
// "="; it ends on the ';' or ':' that ends the parameter, or at the end.
void AddParameterValues(std::vector<ContentParameter>& parameters, const std::string& name, std::string_view text,
                        size_t& pos) {
  parameters.push_back({name, {}});
  bool quoted = false;
  size_t run = pos;  // where the run of the value's own characters began
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c != '"' && (quoted || (c != ';' && c != ':' && c != ','))) continue;
    parameters.back().value.append(text, run, pos - run);
    run = pos + 1;
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',') {
      parameters.push_back({name, {}});
    } else {
      break;
    }
  }
  if (pos == text.size()) parameters.back().value.append(text, run, pos - run);
}

// A vCard 2.1 parameter without a name: an encoding word or a type.
ContentParameter BareParameter(std::string word) {
  static constexpr std::string_view kEncodings[] = {"QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT"};
  const bool encoding = std::find(std::begin(kEncodings), std::end(kEncodings), word) != std::end(kEncodings);
  return {encoding ? "ENCODING" : "TYPE", std::move(word)};
}

// Name and parameters of a logical line; pos ends after the ':' before the
// value.
ContentLine ParseHead(std::string_view text, int lineNumber, size_t& pos) {
  ContentLine line;
  line.line = lineNumber;
  size_t nameStart = 0;
  for (pos = 0; pos < text.size() && (IsNameChar(text[pos]) || text[pos] == '.'); ++pos)
    if (text[pos] == '.') nameStart = pos + 1;
  line.name = UpperCase(text.substr(nameStart, pos - nameStart));
  if (line.name.empty() || pos >= text.size() || (text[pos] != ';' && text[pos] != ':')) {
    if (text.find(':') == std::string_view::npos) throw EExchangeError(lineNumber, "Eigenschaft ohne Doppelpunkt");
    throw EExchangeError(lineNumber, "kein gültiger Name vor dem Doppelpunkt");
  }
  if (pos < text.size() && text[pos] == ';') line.parameters.reserve(2);  // most lines have a value or two
  while (pos < text.size() && text[pos] == ';') {
    const size_t start = ++pos;
    while (pos < text.size() && text[pos] != '=' && text[pos] != ';' && text[pos] != ':') ++pos;
    std::string name = UpperCase(text.substr(start, pos - start));
    if (pos < text.size() && text[pos] == '=') {
      ++pos;
      AddParameterValues(line.parameters, name, text, pos);
    } else if (!name.empty()) {
      line.parameters.push_back(BareParameter(std::move(name)));
    }
  }
  if (pos >= text.size()) throw EExchangeError(lineNumber, "Eigenschaft ohne Doppelpunkt");
  ++pos;
  return line;
}

bool IsQuotedPrintable(const ContentLine& line) { return line.HasParameterValue("ENCODING", "QUOTED-PRINTABLE"); }

// Appends a physical line's text to the logical line; refuses binary data
// and a logical line grown too long.
void Append(std::string& logical, std::string_view text, int lineNumber) {
  if (logical.size() + text.size() > kMaxContentLine)
    throw EExchangeError(lineNumber, "Zeile länger als " + std::to_string(kMaxContentLine / (1 << 20)) +
                                         " MB (eingebettete Bild- oder Binärdaten?)");
  const bool control = AnyByteBelow(text, 0x20) && std::ranges::any_of(text, [](char c) {
                         return static_cast<unsigned char>(c) < 0x20 && c != '\t';
                       });
  if (control) throw EExchangeError(lineNumber, "Steuerzeichen im Text: keine Textdatei (Binärdaten?)");
  logical.append(text);
}

}  // namespace

std::vector<std::string> ContentLine::Parameter(std::string_view wanted) const {
  std::vector<std::string> values;
  for (const ContentParameter& parameter : parameters)
    if (parameter.name == wanted) values.push_back(parameter.value);
  return values;
}

const std::string* ContentLine::FirstParameter(std::string_view wanted) const {
  for (const ContentParameter& parameter : parameters)
    if (parameter.name == wanted) return &parameter.value;
  return nullptr;
}

bool ContentLine::HasParameterValue(std::string_view wanted, std::string_view value) const {
  return std::ranges::any_of(parameters, [&](const ContentParameter& parameter) {
    return parameter.name == wanted && SameIgnoringCase(parameter.value, value);
  });
}

std::vector<std::string_view> PhysicalLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  lines.reserve(static_cast<size_t>(std::ranges::count(text, '\n')) + 1);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    size_t next = end + 1;
    if (text[end] == '\r') {
      const size_t afterCrs = text.find_first_not_of('\r', end);
      if (afterCrs != std::string_view::npos && text[afterCrs] == '\n') next = afterCrs + 1;
    }
    start = next;
  }
  return lines;
}

void ReadContentLines(const std::vector<std::string_view>& physical, const std::function<void(ContentLine&&)>& take,
                      const ContentLineFault& fault) {
  for (size_t i = 0; i < physical.size();) {
    const int lineNumber = static_cast<int>(i) + 1;
    // Folded: a line that begins with a blank continues the one before.
    auto continued = [&] {
      return i < physical.size() && !physical[i].empty() && (physical[i][0] == ' ' || physical[i][0] == '\t');
    };
    ContentLine line;
    try {
      std::string logical;
      logical.reserve(physical[i].size());
      Append(logical, physical[i++], lineNumber);
      auto unfold = [&] {
        while (continued()) Append(logical, physical[i++].substr(1), lineNumber);
      };
      unfold();
      if (logical.find_first_not_of(" \t") == std::string::npos) continue;
      size_t pos = 0;
      line = ParseHead(logical, lineNumber, pos);
      if (IsQuotedPrintable(line)) {
        // A quoted-printable value ending in "=" goes on in the next line.
        while (logical.ends_with('=') && i < physical.size()) {
          logical.pop_back();
          Append(logical, physical[i++], lineNumber);
          unfold();
        }
        line.value = DecodeQuotedPrintable(std::string_view(logical).substr(pos));
      } else {
        logical.erase(0, pos);
        line.value = std::move(logical);
      }
    } catch (const EExchangeError& error) {
      if (!fault) throw;
      // What is left of the faulty line goes with it.
      while (continued()) ++i;
      fault(error.Fault(), static_cast<int>(i));
      continue;
    }
    line.lastLine = static_cast<int>(i);
    take(std::move(line));
  }
}

void ReadContentLines(std::string_view text, const std::function<void(ContentLine&&)>& take,
                      const ContentLineFault& fault) {
  ReadContentLines(PhysicalLines(text), take, fault);
}

std::string CleanedText(std::string text) {
  if (!AnyByteBelow(text, 0x20)) return text;  // as most texts are
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      result += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t') {
      result += c;
    }
  }
  return result;
}

}  // namespace vesk
