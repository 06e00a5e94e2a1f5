#include "toolkit/data/notices.h"

#include <iostream>
#include <utility>

namespace vesk {
namespace {

NoticeHandlers& Handlers() {
  static NoticeHandlers handlers;
  return handlers;
}

}  // namespace

NoticeHandlers SetNoticeHandlers(NoticeHandlers handlers) { return std::exchange(Handlers(), std::move(handlers)); }

void NotifyError(const std::exception& error) {
  if (Handlers().error)
    Handlers().error(error);
  else
    std::cerr << error.what() << "\n";
}

void NotifyWarning(const std::string& text) {
  if (Handlers().warning)
    Handlers().warning(text);
  else
    std::cerr << text << "\n";
}

}  // namespace vesk
