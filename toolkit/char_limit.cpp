#include "toolkit/char_limit.h"

#include <QLineEdit>
#include <algorithm>

namespace vesk {

int CharCount(QStringView text) {
  return static_cast<int>(text.size() -
                          std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); }));
}

TCharLimit::TCharLimit(QLineEdit& edit) : QValidator(&edit), accepted_(edit.text()) {
  connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
}

QValidator::State TCharLimit::validate(QString& input, int& position) const {
  if (limit_ <= 0 || CharCount(input) <= limit_) return Acceptable;
  // What the change put in: the new text between the part it shares with
  // the old text at the front and the part it shares at the end.
  const QString& old = accepted_;
  qsizetype front = 0;
  while (front < input.size() && front < old.size() && input[front] == old[front]) ++front;
  qsizetype back = 0;
  while (back < input.size() - front && back < old.size() - front &&
         input[input.size() - 1 - back] == old[old.size() - 1 - back])
    ++back;
  // Never split a pair.
  if (front > 0 && input[front - 1].isHighSurrogate()) --front;
  if (back > 0 && input[input.size() - back].isLowSurrogate()) --back;
  const QString inserted = input.mid(front, input.size() - front - back);
  const int room = limit_ - (CharCount(input) - CharCount(inserted));
  if (OnLimit) OnLimit();
  if (room <= 0) return Invalid;
  qsizetype take = 0;
  for (int chars = 0; take < inserted.size() && chars < room; ++chars)
    take += inserted[take].isHighSurrogate() && take + 1 < inserted.size() ? 2 : 1;
  input = input.left(front) + inserted.left(take) + input.right(back);
  position = static_cast<int>(front + take);
  return Acceptable;
}

}  // namespace vesk
