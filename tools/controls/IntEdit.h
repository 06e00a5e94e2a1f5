// TIntEdit: a single-line edit for whole numbers. Typed characters are
// filtered so that the text stays an optionally negative decimal number
// without leading zeros; the minus key toggles the sign. Value reads and
// writes the number through the text; pasted or set text is not filtered,
// and Value reads 0 when it is no integer.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

namespace vesk {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

class TIntEdit : public QLineEdit {
 public:
  // Right-aligned, 24 design pixels high, text "0".
  explicit TIntEdit(QWidget* parent = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // The text as an integer; 0 when it is none.
  int32_t Value() const;
  // Text := value in decimal.
  void SetValue(int32_t value);

  // The user's own handler of a typed character; it runs before the filter
  // and may replace the character or drop it by setting it to 0.
  std::function<void(TIntEdit&, char32_t& key)> OnKeyPress;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // The sound of a refused key.
  virtual void Beep();

 private:
  // The filter of one typed character; true when it goes into the text.
  bool Accepts(char32_t key);
  // Where typing goes in: the start of the selection, else the caret.
  int Caret() const;

  TAlignment alignment_ = taRightJustify;
};

}  // namespace vesk
