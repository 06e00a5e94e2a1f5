#include "host/host_tray.h"

#include "host/program_icon.h"

namespace vesk {

HostTray::HostTray(std::function<void()> open, std::function<void()> end) : icon_(ProgramIcon()) {
  menu_.setObjectName("PMTray");
  menu_.addAction(QStringLiteral("Tools öffnen"), open)->setObjectName("Tools öffnen");
  menu_.addAction(QStringLiteral("Beenden"), end)->setObjectName("Beenden");
  icon_.setToolTip(QStringLiteral("Vesk Tools"));
  icon_.setContextMenu(&menu_);
  QObject::connect(&icon_, &QSystemTrayIcon::activated, [open](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) open();
  });
  // Shown once a notification area exists.
  icon_.show();
}

}  // namespace vesk
