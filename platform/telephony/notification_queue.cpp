#include "platform/telephony/notification_queue.h"

#include <QMetaObject>

namespace vesk {

NotificationQueue::NotificationQueue(LineCallback callback)
    : callback_(callback), receiver_(new QObject) {}

// Queued calls whose receiver is gone are never run, so deleting the receiver
// discards what is still pending. deleteLater would let them run first.
NotificationQueue::~NotificationQueue() { delete receiver_; }

void NotificationQueue::Post(uint32_t device, uint32_t message, intptr_t param1,
                             intptr_t param2) {
  LineCallback callback = callback_;
  QMetaObject::invokeMethod(
      receiver_, [=] { callback(device, message, 0, param1, param2, 0); },
      Qt::QueuedConnection);
}

}  // namespace vesk
