// How the library's exports are written. To add one, include the window's
// header in entry_points.cpp and add its line to the list in
// tools_exports.h.
#pragma once

#include <QPointer>

#include "tools/entry_point_execute.h"

// The export that shows the window, kept in Instance; the window class is
// the class name of the window.
#define VESK_TOOLS_EXPORT(ExportName, WindowType, Instance, Caption) \
  extern "C" __attribute__((visibility("default"))) void ExportName() { Execute(Instance, #WindowType, Caption); }

// The window's instance variable and its export. A window that reaches its
// instance itself declares it in its header and uses VESK_TOOLS_EXPORT.
#define VESK_TOOLS_ENTRY_POINT(ExportName, WindowType, Instance, Caption) \
  QPointer<WindowType> Instance;                                          \
  VESK_TOOLS_EXPORT(ExportName, WindowType, Instance, Caption)
