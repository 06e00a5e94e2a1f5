#include "toolkit/design_scale.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vesk {

namespace {

double ScreenPixelsPerInch() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInch() : kDesignPixelsPerInch;
}

}  // namespace

int Scale(int designPixels) { return qRound(designPixels * ScreenPixelsPerInch() / kDesignPixelsPerInch); }

void SetDesignBounds(QWidget& widget, int left, int top, int width, int height) {
  widget.setGeometry(Scale(left), Scale(top), Scale(width), Scale(height));
}

QFont DesignFont(std::string_view name, int designHeight) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (!name.empty() && name != "MS Sans Serif")
    font.setFamily(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(Scale(designHeight), 1));
  return font;
}

}  // namespace vesk
