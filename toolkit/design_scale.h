// Window layouts are designed at 120 pixels per inch; Scale turns a design
// position or size into pixels of the screen's logical resolution, and
// DesignFont maps a design font (name and pixel height) to a desktop font.
#pragma once

#include <QFont>
#include <string_view>

class QWidget;

namespace vesk {

inline constexpr int kDesignPixelsPerInch = 120;

// design * screen ppi / 120, rounded to the nearest pixel.
int Scale(int designPixels);

// Geometry in design pixels, relative to the parent.
void SetDesignBounds(QWidget& widget, int left, int top, int width, int height);

// Names the control after its role (its Qt object name, which tests and
// accessibility tools look for) and sets its design geometry.
template <class TControl>
TControl* Placed(TControl* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromUtf8(name));
  SetDesignBounds(*control, left, top, width, height);
  return control;
}

// "MS Sans Serif" (and an empty name) is the desktop's sans-serif font;
// any other name is taken as a family. The height is the design pixel
// height of the characters.
QFont DesignFont(std::string_view name, int designHeight);

}  // namespace vesk
