#include "platform/ini_document.h"

#include <algorithm>

#include "runtime/conversions.h"

namespace vesk {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The name of a "[name]" line.
std::optional<std::string> HeaderName(std::string_view text) {
  std::string line = Trim(text);
  if (line.empty() || line[0] != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(std::string_view(line).substr(1, close - 1));
}

// Position of the "=" of a key line; headers, comments and lines without "="
// are no key lines.
std::optional<size_t> EqualsOf(std::string_view text) {
  std::string line = Trim(text);
  if (line.empty() || line[0] == ';' || HeaderName(line)) return std::nullopt;
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return equals;
}

// A value as the profile services give it: trimmed, and one pair of double
// quotes around it taken off ("09:00:00" reads as 09:00:00).
std::string ValueText(std::string_view text) {
  std::string value = Trim(text);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t newline = bytes.find('\n', start);
    Line line;
    if (newline == std::string_view::npos) {
      line.text = bytes.substr(start);
      start = bytes.size();
    } else {
      bool crlf = newline > start && bytes[newline - 1] == '\r';
      line.text = bytes.substr(start, newline - start - (crlf ? 1 : 0));
      line.end = crlf ? "\r\n" : "\n";
      start = newline + 1;
    }
    if (newLine_.empty()) newLine_ = line.end;
    lines_.push_back(std::move(line));
  }
  if (newLine_.empty()) newLine_ = "\n";
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section) const {
  std::string wanted = Trim(section);
  auto header = [this](size_t i) {
    std::string_view text = lines_[i].text;
    if (i == 0 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return HeaderName(text);
  };
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::optional<std::string> name = header(i);
    if (!name || !SameName(*name, wanted)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && !header(end)) ++end;
    return Range{i + 1, end};
  }
  return std::nullopt;
}

std::optional<size_t> IniDocument::FindKey(const Range& range, std::string_view key) const {
  std::string wanted = Trim(key);
  for (size_t i = range.first; i < range.end; ++i) {
    std::string_view text = lines_[i].text;
    std::optional<size_t> equals = EqualsOf(text);
    if (equals && SameName(Trim(text.substr(0, *equals)), wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
  std::optional<Range> range = FindSection(section);
  if (!range) return std::nullopt;
  std::optional<size_t> line = FindKey(*range, key);
  if (!line) return std::nullopt;
  std::string_view text = lines_[*line].text;
  return ValueText(text.substr(*EqualsOf(text) + 1));
}

std::vector<std::pair<std::string, std::string>> IniDocument::Keys(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> keys;
  std::optional<Range> range = FindSection(section);
  if (!range) return keys;
  for (size_t i = range->first; i < range->end; ++i) {
    std::string_view text = lines_[i].text;
    std::optional<size_t> equals = EqualsOf(text);
    if (!equals) continue;
    std::string name = Trim(text.substr(0, *equals));
    bool seen =
        std::any_of(keys.begin(), keys.end(), [&name](const auto& known) { return SameName(known.first, name); });
    if (!seen) keys.emplace_back(std::move(name), ValueText(text.substr(*equals + 1)));
  }
  return keys;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  std::string entry = Trim(key) + "=" + std::string(value);
  std::optional<Range> range = FindSection(section);
  if (!range) {
    Insert(lines_.size(), "[" + Trim(section) + "]");
    Insert(lines_.size(), std::move(entry));
    return;
  }
  if (std::optional<size_t> line = FindKey(*range, key)) {
    // Keep the key as it is spelt and the blanks before the old value.
    std::string& text = lines_[*line].text;
    size_t start = *EqualsOf(text) + 1;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    text.replace(start, std::string::npos, value);
    return;
  }
  // After the section's last line that is not blank, so that blank lines
  // before the next section stay where they are.
  size_t position = range->end;
  while (position > range->first && Trim(lines_[position - 1].text).empty()) --position;
  Insert(position, std::move(entry));
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key) {
  std::optional<Range> range = FindSection(section);
  std::optional<size_t> line = range ? FindKey(*range, key) : std::nullopt;
  if (!line) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
  return true;
}

void IniDocument::Insert(size_t position, std::string text) {
  if (position > 0 && lines_[position - 1].end.empty()) lines_[position - 1].end = newLine_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), Line{std::move(text), newLine_});
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.end;
  }
  return text;
}

}  // namespace vesk
