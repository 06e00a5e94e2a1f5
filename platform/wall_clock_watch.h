// Tells a program when the wall clock jumped under it: someone set it (a
// CLOCK_REALTIME timer that the kernel cancels when the clock is set), or
// it ran away from the monotonic clock by more than a minute between two
// heartbeats, as after a suspend the system bus did not announce or a
// paused virtual machine. The monotonic clock, which Qt's timers count on,
// stands still meanwhile, so a timer alone would notice nothing.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace vesk {

// Between two heartbeats; the jump that counts is longer.
inline constexpr int kHeartbeatMs = 30000;
inline constexpr int64_t kClockJumpMs = 60000;

class WallClockWatch {
 public:
  // jumped runs on the creating thread, from its event loop.
  explicit WallClockWatch(std::function<void()> jumped);
  ~WallClockWatch();
  WallClockWatch(const WallClockWatch&) = delete;
  WallClockWatch& operator=(const WallClockWatch&) = delete;

  // Whether a set of the clock is heard at once (the kernel's timer could
  // be made); the heartbeat works without it.
  bool HearsClockSets() const { return timer_ >= 0; }

 private:
  void ArmTimer();
  void TimerFired();
  void Beat();

  std::function<void()> jumped_;
  int timer_ = -1;  // the timerfd
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer heartbeat_;
  int64_t wallAtBeat_ = 0;
  int64_t monotonicAtBeat_ = 0;
};

}  // namespace vesk
