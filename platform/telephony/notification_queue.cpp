#include "platform/telephony/notification_queue.h"

#include <QMetaObject>

namespace vesk {
namespace {

int held = 0;

}  // namespace

HoldNotifications::HoldNotifications() { ++held; }
HoldNotifications::~HoldNotifications() { --held; }

NotificationQueue::NotificationQueue(LineCallback callback) : callback_(callback), receiver_(new QObject) {}

// Queued calls whose receiver is gone are never run, so deleting the receiver
// discards what is still pending. deleteLater would let them run first.
NotificationQueue::~NotificationQueue() { delete receiver_; }

void NotificationQueue::Post(uint32_t device, uint32_t message, intptr_t param1, intptr_t param2) {
  waiting_.push_back({device, message, param1, param2});
  RequestDelivery();
}

void NotificationQueue::Resume() {
  for (size_t i = 0; i < waiting_.size(); ++i) RequestDelivery();
}

void NotificationQueue::Forget(uint32_t device, uint32_t message) {
  std::erase_if(waiting_, [&](const Notification& n) { return n.device == device && n.message == message; });
}

void NotificationQueue::RequestDelivery() {
  QMetaObject::invokeMethod(
      receiver_, [this] { DeliverOne(); }, Qt::QueuedConnection);
}

// The routine may shut its application down and so free this queue: nothing
// of it is touched after the call.
void NotificationQueue::DeliverOne() {
  if (held > 0 || waiting_.empty()) return;
  const Notification next = waiting_.front();
  waiting_.pop_front();
  callback_(next.device, next.message, 0, next.param1, next.param2, 0);
}

}  // namespace vesk
