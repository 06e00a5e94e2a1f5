// The edit mask language of masked edit fields, "!99/99/0000;1;_":
//   0  required digit            9  optional digit
//   #  optional digit or sign    L / l  required / optional letter
//   A / a  required / optional letter or digit
//   C / c  required / optional any character
//   /  the regional date separator   :  the regional time separator
//   \  the next character as a literal; any other character is a literal
//   !  (anywhere) in a stored text shorter than the mask, each part
//      between two literals is aligned to the right (blanks in front);
//      without it to the left
// After the first ";": "1" stores the literals with the text, "0" drops them;
// after the second ";": the character that marks an empty position
// (default "_").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

class TEditMask {
 public:
  // An empty mask has no positions and accepts any text.
  explicit TEditMask(std::string_view mask);

  bool IsEmpty() const { return positions_.empty(); }
  int Length() const { return static_cast<int>(positions_.size()); }
  bool SaveLiterals() const { return saveLiterals_; }
  char32_t BlankChar() const { return blank_; }
  bool IsLiteral(int position) const;
  // Whether c may stand at the (editable) position.
  bool Accepts(int position, char32_t c) const;

  // The text an edit control shows: every position filled, literals in
  // place, the blank character in empty positions. value is a stored text
  // (with or without literals, as SaveLiterals says) or an edit text.
  std::string EditText(std::string_view value) const;
  // The stored text of an edit text: empty positions become blanks, so the
  // text keeps its positions; literals kept or dropped as SaveLiterals says.
  // All editable positions empty gives "".
  std::string ValueText(std::string_view editText) const;
  // Every required position of the edit text filled and every character
  // accepted by its position.
  bool IsComplete(std::string_view editText) const;
  // Editable positions without input.
  bool IsBlank(std::string_view editText) const;

  // The first editable position without input; -1 when all are filled.
  int FirstBlank(std::string_view editText) const;
  // Typing a separator: when `typed` is the literal that ends the part the
  // caret stands in, that part is completed - its input moved to the right,
  // the free digit positions in front filled with "0" - and the caret goes
  // to the start of the next part. A caret at the start of an empty part
  // that the same literal opens stays (the part was entered already).
  // False when `typed` ends no part here, or the part has no input.
  bool CompletePart(std::string& editText, int& caret, char32_t typed) const;
  // With "!": the input of each part moved to its right end, so "1_" or a
  // year "26__" counts as typed ("_1", "__26"); without it the text as is.
  std::string AlignParts(std::string_view editText) const;

 private:
  enum class Kind { Literal, Digit, DigitOrSign, Letter, Alnum, Any };
  struct Position {
    Kind kind;
    bool required;
    char32_t literal;
  };
  bool Filled(char32_t c) const { return c != blank_ && c != U' '; }
  // The run of editable positions around `position`: [start, end).
  void PartAt(int position, int& start, int& end) const;
  // Moves the part's input to its right end; `pad` fills the digit
  // positions left free in front (else they stay blank).
  void AlignRight(std::u32string& text, int start, int end, bool pad) const;

  std::vector<Position> positions_;
  bool saveLiterals_ = true;
  bool leadingBlanks_ = false;
  char32_t blank_ = U'_';
};

}  // namespace vesk
