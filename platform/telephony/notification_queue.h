// The notifications of one line application, queued for the thread that
// created the queue and handed to the application's notification routine from
// that thread's event loop, in the order they were posted.
#pragma once

#include <QObject>
#include <cstdint>

#include "platform/telephony/telephony.h"

namespace vesk {

class NotificationQueue {
 public:
  explicit NotificationQueue(LineCallback callback);
  // Notifications not yet delivered are discarded.
  ~NotificationQueue();
  NotificationQueue(const NotificationQueue&) = delete;
  NotificationQueue& operator=(const NotificationQueue&) = delete;

  void Post(uint32_t device, uint32_t message, intptr_t param1, intptr_t param2);

 private:
  LineCallback callback_;
  QObject* receiver_;  // lives on the creating thread; owned
};

}  // namespace vesk
