// SIGTERM, SIGINT and SIGHUP turned into a call from the Qt event loop, so
// that the host ends the way it does when its window is closed. Only the
// first signal is caught: a second one, while the end is under way, takes
// its default action and ends the process at once.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace vesk {

class TerminationSignal {
 public:
  // Raises vesk::Exception when the signals cannot be caught.
  explicit TerminationSignal(std::function<void()> onSignal);
  // The signals take their default action again.
  ~TerminationSignal();
  TerminationSignal(const TerminationSignal&) = delete;
  TerminationSignal& operator=(const TerminationSignal&) = delete;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vesk
