// Waiting for one asynchronous step of the sync where the caller has no
// event loop of its own (mtitool, tests): the loop runs until the step gives
// its result, or the time runs out.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <optional>
#include <utility>

namespace vesk {

// start is called with the callback that takes the result; nothing after
// timeoutMs milliseconds (-1: no limit).
template <class Result, class Start>
std::optional<Result> Awaited(Start start, int timeoutMs = -1) {
  std::optional<Result> result;
  QEventLoop loop;
  start([&](Result value) {
    result = std::move(value);
    loop.quit();
  });
  if (timeoutMs >= 0) QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  if (!result) loop.exec();
  return result;
}

}  // namespace vesk
