// How the data part tells the user what no caller handles: a failure that
// reaches a dataset's default error display, and a warning (a table name
// that names no table, a table that can only be read for now). The
// application object installs handlers that show them in a message box over
// the window they belong to; without one, as in a command-line tool, they
// go to standard error.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace vesk {

struct NoticeHandlers {
  std::function<void(const std::exception&)> error;
  std::function<void(const std::string&)> warning;
};

// Installs the handlers; returns those installed before.
NoticeHandlers SetNoticeHandlers(NoticeHandlers handlers);

void NotifyError(const std::exception& error);
void NotifyWarning(const std::string& text);

}  // namespace vesk
