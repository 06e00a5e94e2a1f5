// An INI file held in memory as its lines: finds sections and keys the way the
// profile services do and changes one value while every other byte of the
// file stays as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {

class IniDocument {
 public:
  explicit IniDocument(std::string_view bytes);

  // Names are compared without regard to ASCII case and without the blanks
  // around them; the first section of a name and its first key count.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  std::vector<std::pair<std::string, std::string>> Keys(std::string_view section) const;
  // Replaces the key's value in place, or appends the key at the end of its
  // section, or appends section and key at the end of the file.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key's first line; false when section or key is missing.
  bool RemoveKey(std::string_view section, std::string_view key);

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without its line ending
    std::string end;   // "\n", "\r\n" or "" for a last line without one
  };
  struct Range {
    size_t first;  // the first line after the section header
    size_t end;    // the next header, or the number of lines
  };

  std::optional<Range> FindSection(std::string_view section) const;
  std::optional<size_t> FindKey(const Range& range, std::string_view key) const;
  void Insert(size_t position, std::string text);

  std::vector<Line> lines_;
  std::string newLine_;  // line ending for added lines, as the file has them
};

}  // namespace vesk
