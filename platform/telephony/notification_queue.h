// The notifications of one line application, queued for the thread that
// created the queue and handed to the application's notification routine from
// that thread's event loop, in the order they were posted. While the
// notifications are held (HoldNotifications) they wait in the queue.
#pragma once

#include <QObject>
#include <cstdint>
#include <deque>

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
  // Asks the event loop again for every notification still waiting.
  void Resume();
  // Discards the waiting notifications of the given device (a call).
  void Forget(uint32_t device, uint32_t message);

 private:
  struct Notification {
    uint32_t device;
    uint32_t message;
    intptr_t param1;
    intptr_t param2;
  };

  void RequestDelivery();
  void DeliverOne();

  LineCallback callback_;
  std::deque<Notification> waiting_;
  QObject* receiver_;  // lives on the creating thread; owned
};

// While one of these lives, no notification of any line application is
// delivered; each queue's Resume hands them on afterwards.
class HoldNotifications {
 public:
  HoldNotifications();
  ~HoldNotifications();
  HoldNotifications(const HoldNotifications&) = delete;
  HoldNotifications& operator=(const HoldNotifications&) = delete;
};

}  // namespace vesk
