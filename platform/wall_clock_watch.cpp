#include "platform/wall_clock_watch.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <ctime>
#include <utility>

namespace vesk {
namespace {

int64_t Milliseconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

WallClockWatch::WallClockWatch(std::function<void()> jumped)
    : jumped_(std::move(jumped)),
      wallAtBeat_(Milliseconds(CLOCK_REALTIME)),
      monotonicAtBeat_(Milliseconds(CLOCK_MONOTONIC)) {
  timer_ = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
  if (timer_ >= 0) {
    notifier_ = std::make_unique<QSocketNotifier>(timer_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { TimerFired(); });
    ArmTimer();
  }
  heartbeat_.setTimerType(Qt::CoarseTimer);
  QObject::connect(&heartbeat_, &QTimer::timeout, [this] { Beat(); });
  heartbeat_.start(kHeartbeatMs);
}

WallClockWatch::~WallClockWatch() {
  notifier_.reset();
  if (timer_ >= 0) close(timer_);
}

// A timer that expires only in the far future; a set of the clock cancels
// it, and that makes the descriptor readable.
void WallClockWatch::ArmTimer() {
  itimerspec far{};
  far.it_value.tv_sec = std::time(nullptr) + 10L * 365 * 24 * 3600;
  if (timerfd_settime(timer_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr) != 0) {
    notifier_.reset();
    close(timer_);
    timer_ = -1;
  }
}

void WallClockWatch::TimerFired() {
  uint64_t expirations = 0;
  const ssize_t got = read(timer_, &expirations, sizeof expirations);
  const bool set = got < 0 && errno == ECANCELED;
  ArmTimer();
  if (!set) return;
  // The heartbeat measures from the clock as it is now set.
  wallAtBeat_ = Milliseconds(CLOCK_REALTIME);
  monotonicAtBeat_ = Milliseconds(CLOCK_MONOTONIC);
  if (jumped_) jumped_();
}

void WallClockWatch::Beat() {
  const int64_t wall = Milliseconds(CLOCK_REALTIME);
  const int64_t monotonic = Milliseconds(CLOCK_MONOTONIC);
  const int64_t drift = (wall - wallAtBeat_) - (monotonic - monotonicAtBeat_);
  wallAtBeat_ = wall;
  monotonicAtBeat_ = monotonic;
  if ((drift > kClockJumpMs || drift < -kClockJumpMs) && jumped_) jumped_();
}

}  // namespace vesk
