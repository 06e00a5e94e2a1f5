#include "host/host_ending.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

#include "platform/message_box.h"

namespace vesk {

void EndHost(const QWidget& hostWindow) {
  SetMessageBoxesShown(false);
  // A close may free other windows.
  std::vector<QPointer<QWidget>> windows;
  for (QWidget* window : QApplication::topLevelWidgets()) windows.emplace_back(window);
  for (const QPointer<QWidget>& window : windows) {
    if (!window.isNull() && window != &hostWindow && window->isVisible()) window->close();
  }
  // Unlike quit(), exit() does not wait for every window to agree.
  QCoreApplication::exit(0);
}

}  // namespace vesk
