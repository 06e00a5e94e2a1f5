// The entry-point steps shared by the library's exports: find the
// window by class and caption, create it when there is none of this library,
// show it modeless and return at once.
#pragma once

#include <QPointer>
#include <string_view>

#include "platform/window_messages.h"
#include "toolkit/event_guard.h"

namespace vesk {

// The window is created with the library's application object as owner
// (every TForm joins it) and kept in instance, which empties itself when the
// window is freed. A window that the lookup finds but this library did not
// create (one of another process) leaves instance empty, so a window is
// created here too. Failures go to the application's error display: nothing
// may escape into the host through the C interface.
template <class TWindow>
void Execute(QPointer<TWindow>& instance, std::string_view windowClass, std::string_view caption) {
  Guarded([&] {
    if (!FindWindow(windowClass, caption) || instance.isNull()) instance = new TWindow();
    instance->Show();
  });
}

}  // namespace vesk
