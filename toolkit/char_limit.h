// TCharLimit: keeps the text of a line edit within a number of characters
// (Unicode characters, whatever their script or UTF-16 length). Typed or
// pasted text is cut to what still fits where it goes in; the rest of the
// text stays as it was. OnLimit runs whenever input was cut or refused, so
// the edit can show the limit.
#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;

namespace vesk {

class TCharLimit : public QValidator {
 public:
  // Follows the edit's text; 0 characters: no limit.
  explicit TCharLimit(QLineEdit& edit);

  int Limit() const { return limit_; }
  void SetLimit(int characters) { limit_ = characters; }

  State validate(QString& input, int& position) const override;

  std::function<void()> OnLimit;

 private:
  int limit_ = 0;
  QString accepted_;  // the edit's text before the change being validated
};

// Unicode characters of the text (a surrogate pair counts once).
int CharCount(QStringView text);

}  // namespace vesk
