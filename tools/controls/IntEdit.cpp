#include "tools/controls/IntEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <limits>
#include <string>

#include "runtime/conversions.h"
#include "toolkit/design_scale.h"
#include "toolkit/event_guard.h"

namespace vesk {
namespace {

constexpr char32_t kBackspace = 8;

Qt::Alignment QtAlignment(TAlignment alignment) {
  switch (alignment) {
    case taLeftJustify: return Qt::AlignLeft | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case taRightJustify: break;
  }
  return Qt::AlignRight | Qt::AlignVCenter;
}

// The one character a key event types, or 0 for keys that type none
// (movement, deletion, shortcuts with Ctrl, Alt or Meta, line ends).
char32_t TypedCharacter(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  const QList<uint> chars = event.text().toUcs4();
  if (chars.size() != 1) return 0;
  const char32_t c = chars.front();
  if (c == kBackspace) return c;
  return c < 0x20 || c == 0x7f ? 0 : c;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

TIntEdit::TIntEdit(QWidget* parent) : QLineEdit(parent) {
  resize(width(), Scale(24));
  SetAlignment(taRightJustify);
  SetValue(0);
}

void TIntEdit::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  setAlignment(QtAlignment(alignment));
}

int32_t TIntEdit::Value() const {
  int32_t value = 0;
  return TryStrToInt(text().toStdString(), value) ? value : 0;
}

void TIntEdit::SetValue(int32_t value) { setText(QString::number(value)); }

void TIntEdit::Beep() { QApplication::beep(); }

int TIntEdit::Caret() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TIntEdit::keyPressEvent(QKeyEvent* event) {
  // A read-only edit is not changed by typing, not even by the sign key.
  const char32_t typed = isReadOnly() ? 0 : TypedCharacter(*event);
  if (typed == 0) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  char32_t key = typed;
  if (OnKeyPress && !Guarded([&] { OnKeyPress(*this, key); })) key = 0;
  if (key == 0 || !Accepts(key)) {
    event->accept();
    return;
  }
  if (key == typed) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QString text = QString::fromUcs4(&key, 1);
  QKeyEvent replaced(QEvent::KeyPress, key == kBackspace ? Qt::Key_Backspace : Qt::Key_unknown, Qt::NoModifier, text);
  QLineEdit::keyPressEvent(&replaced);
}

bool TIntEdit::Accepts(char32_t key) {
  if (key == kBackspace) return true;
  if (key == U'-') {
    // The negation of the smallest value has no 32-bit form.
    if (Value() == std::numeric_limits<int32_t>::min()) {
      Beep();
    } else {
      SetValue(-Value());
    }
    return false;
  }
  if (!IsDigit(key)) {
    Beep();
    return false;
  }
  if (text().isEmpty()) return true;
  bool accepted = true;
  auto reject = [&] {
    accepted = false;
    Beep();
  };
  if (text().startsWith(u'0')) {
    if (key == U'0') {
      reject();
    } else if (text() == u"0") {
      clear();
    }
  }
  const int caret = Caret();
  if (caret == 0 && key == U'0') reject();
  if (caret == 1 && key == U'0' && text().startsWith(u'-')) reject();
  if (caret == 0 && !text().isEmpty() && text().startsWith(u'-')) reject();
  return accepted;
}

}  // namespace vesk
