#include "forms_support.h"

#include <QCoreApplication>
#include <QTest>

#include "toolkit/application.h"

namespace vesk {

CaughtMessages::CaughtMessages(MbResult answer) : answer_(answer) {
  Application().OnException = [this](const std::exception& error) { errors.emplace_back(error.what()); };
  SetMessageBoxHook([this](const MessageBoxRequest& request) {
    boxes.push_back(request);
    return answer_;
  });
}

CaughtMessages::~CaughtMessages() {
  Application().OnException = nullptr;
  SetMessageBoxHook(nullptr);
}

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QTest::qWait(1);
}

}  // namespace vesk
