// What the system does under a running program that it must follow: the
// machine woke from suspend (logind's PrepareForSleep(false) on the system
// bus), the network changed (GIO's network monitor). Both are heard through
// GIO, whose main context Qt's event loop runs; a machine without a system
// bus, a container say, only lacks the first, and that is no error.
#pragma once

#include <functional>

namespace vesk {

class SystemEvents {
 public:
  // Both callbacks run on the creating thread, from its event loop.
  SystemEvents(std::function<void()> resumed, std::function<void()> networkChanged);
  ~SystemEvents();
  SystemEvents(const SystemEvents&) = delete;
  SystemEvents& operator=(const SystemEvents&) = delete;

 private:
  struct Watch;  // the bus subscription and the monitor's handler
  Watch* watch_;
};

}  // namespace vesk
