#include "toolkit/input_hint.h"

#include <QApplication>
#include <QToolTip>
#include <QWidget>

namespace vesk {

void ShowInputHint(QWidget& control, std::string_view reason) {
  QApplication::beep();
  const QString text = QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size()));
  QToolTip::showText(control.mapToGlobal(QPoint(0, control.height())), text, &control);
}

}  // namespace vesk
