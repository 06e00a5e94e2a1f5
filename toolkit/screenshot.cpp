#include "toolkit/screenshot.h"

#include <QPixmap>
#include <QWidget>

namespace vesk {

bool SaveScreenshot(QWidget& widget, const std::string& path) {
  return widget.grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace vesk
