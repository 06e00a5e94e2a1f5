// The host's icon in the notification area while it runs in the background
// (started with --minimized, as at login): its menu offers "Tools öffnen",
// which shows the host window, and "Beenden", which ends the host and with
// it the reminder program; a click on the icon opens the window too. The
// reminder program's own icon only shows that reminders are kept.
#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

#include <functional>

namespace vesk {

class HostTray {
 public:
  HostTray(std::function<void()> open, std::function<void()> end);
  HostTray(const HostTray&) = delete;
  HostTray& operator=(const HostTray&) = delete;

  QMenu& Menu() { return menu_; }

 private:
  QMenu menu_;
  QSystemTrayIcon icon_;
};

}  // namespace vesk
