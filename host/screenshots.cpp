#include "host/screenshots.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/host_window.h"
#include "host/tools_library.h"
#include "toolkit/screenshot.h"

namespace vesk {
namespace {

QWidget* ShownWindow(const char* caption) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QLatin1String(caption)) return widget;
  }
  return nullptr;
}

bool Save(QWidget& window, const std::string& folder, const std::string& caption) {
  const std::string path = folder + "/" + caption + ".png";
  const bool saved = SaveScreenshot(window, path);
  std::printf(saved ? "%s\n" : "%s: nicht geschrieben\n", path.c_str());
  return saved;
}

// The new page dialog, which a right click on the notes window's tab row
// opens modally: pictured and closed as soon as it shows.
bool SaveNewPageDialog(QWidget& notes, const std::string& folder) {
  auto* tabs = notes.findChild<QWidget*>(QStringLiteral("TCNotizen"));
  if (tabs == nullptr) return false;
  bool saved = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* dialog = ShownWindow("Text");
    if (dialog == nullptr) return;
    poll.stop();
    saved = Save(*dialog, folder, "Neue Seite");
    dialog->close();
  });
  poll.start(10);
  const QPointF at(3, tabs->height() - 3);
  QMouseEvent press(QEvent::MouseButtonPress, at, tabs->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QApplication::sendEvent(tabs, &press);
  return saved;
}

}  // namespace

int SaveScreenshots(const std::string& folder, TFRVeskTools& host, ToolsLibrary& library) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  host.Show();
  QApplication::processEvents();
  bool complete = Save(host, folder, "Tools");
  for (const ToolsExport& entry : kToolsExports) {
    ToolsLibrary::EntryPoint execute = library.Resolve(entry.name);
    if (execute == nullptr) {
      std::printf("%s: übersprungen, %s fehlt\n", entry.caption, entry.name);
      continue;
    }
    execute();
    QApplication::processEvents();
    QWidget* window = ShownWindow(entry.caption);
    complete = window != nullptr && Save(*window, folder, entry.caption) && complete;
    if (window != nullptr && QLatin1String(entry.caption) == QLatin1String("Notizen"))
      complete = SaveNewPageDialog(*window, folder) && complete;
  }
  return complete ? 0 : 1;
}

}  // namespace vesk
