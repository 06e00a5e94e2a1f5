// How the library's exports are written. To add one, include the window's
// header in entry_points.cpp and add there, inside namespace vesk, the line
//   VESK_TOOLS_ENTRY_POINT(TermExecute, TFRTermine, FRTermine, "Termine")  // ordinal 2
#pragma once

#include <QPointer>

#include "tools/entry_point_execute.h"

// Defines the window's instance variable and the export that shows the
// window; the window class is the class name of the window.
#define VESK_TOOLS_ENTRY_POINT(ExportName, WindowType, Instance, Caption) \
  QPointer<WindowType> Instance;                                          \
  extern "C" __attribute__((visibility("default"))) void ExportName() { Execute(Instance, #WindowType, Caption); }
