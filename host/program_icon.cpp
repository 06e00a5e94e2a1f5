#include "host/program_icon.h"

#include <QFile>

#include <string>

#include "platform/shared_data.h"

namespace vesk {

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string edge = std::to_string(size);
    const QString file =
        QString::fromStdString(SharedDataFile("icons/hicolor/" + edge + "x" + edge + "/apps/vesktools.png"));
    if (!file.isEmpty() && QFile::exists(file)) icon.addFile(file, QSize(size, size));
  }
  return icon.isNull() ? QIcon::fromTheme(QStringLiteral("vesktools")) : icon;
}

}  // namespace vesk
