#include "platform/window_messages.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QThread>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/caseless_text.h"
#include "platform/message_socket.h"
#include "platform/runtime_folder.h"
#include "platform/window_directory.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

uint32_t OwnProcess() { return static_cast<uint32_t>(getpid()); }

// The part before a NUL, as the C interfaces of the window system see it.
std::string_view CText(std::string_view text) { return text.substr(0, text.find('\0')); }

bool Matches(std::string_view wanted, const std::string& actual) {
  return wanted.empty() || EqualIgnoringCase(actual, wanted);
}

std::optional<std::string> UsableRuntimeFolder() {
  try {
    return RuntimeFolder();
  } catch (const Exception&) {
    return std::nullopt;
  }
}

// The windows of this process, their handlers and the socket they receive
// on. The socket is bound with the first window, in the runtime folder of
// that moment, and stays until the process ends, so that windows that come
// and go never leave the process unreachable for a moment.
class ProcessWindows {
 public:
  static ProcessWindows& Instance() {
    static ProcessWindows windows;
    return windows;
  }

  uint32_t Add(std::string_view className, std::string_view caption, WindowMessageHandler handler) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) throw Exception("Ein Fenster braucht ein Anwendungsobjekt");
    if (QThread::currentThread() != application->thread()) {
      throw Exception("Fenster entstehen nur im Thread des Anwendungsobjekts");
    }
    std::lock_guard lock(mutex_);
    if (!socket_) {
      std::string folder = RuntimeFolder();
      // Entries under this process id are left from an earlier process.
      RemoveProcessEntries(folder, OwnProcess());
      socket_ = std::make_unique<MessageSocket>(SocketPath(folder, OwnProcess()),
                                                [this](const MessageDatagram& datagram) { Deliver(datagram); });
      folder_ = std::move(folder);
    }
    socket_->Listen();
    uint32_t number = ++lastNumber_;
    if (number == kAllWindows) number = ++lastNumber_;
    if (!WriteWindowEntry(folder_, {OwnProcess(), number, std::string(className), std::string(caption)})) {
      throw Exception(FormatMessage("Das Fenster %s kann nicht eingetragen werden", {caption}));
    }
    handlers_[number] = std::make_shared<const WindowMessageHandler>(std::move(handler));
    return number;
  }

  void Remove(uint32_t number) {
    std::lock_guard lock(mutex_);
    handlers_.erase(number);
    RemoveWindowEntry(folder_, OwnProcess(), number);
  }

  bool Rewrite(uint32_t number, std::string_view className, std::string_view caption) {
    std::lock_guard lock(mutex_);
    return WriteWindowEntry(folder_, {OwnProcess(), number, std::string(className), std::string(caption)});
  }

  // Posting within the process: a queued call, handled from the event loop.
  bool Post(const MessageDatagram& datagram) {
    std::lock_guard lock(mutex_);
    if (!socket_ || (datagram.window != kAllWindows && !handlers_.contains(datagram.window))) return false;
    return socket_->DeliverLater(datagram);
  }

 private:
  ProcessWindows() = default;

  // Runs on the application's thread. A handler may add or remove windows,
  // so each target is looked up anew just before its call.
  void Deliver(const MessageDatagram& datagram) {
    std::vector<uint32_t> targets;
    {
      std::lock_guard lock(mutex_);
      if (datagram.window != kAllWindows) {
        targets.push_back(datagram.window);
      } else {
        for (const auto& [number, handler] : handlers_) targets.push_back(number);
      }
    }
    for (uint32_t number : targets) {
      std::shared_ptr<const WindowMessageHandler> handler;
      {
        std::lock_guard lock(mutex_);
        auto found = handlers_.find(number);
        if (found == handlers_.end() || !*found->second) continue;
        handler = found->second;
      }
      (*handler)(datagram.message, static_cast<uintptr_t>(datagram.wParam), static_cast<intptr_t>(datagram.lParam));
    }
  }

  std::mutex mutex_;
  std::string folder_;
  std::unique_ptr<MessageSocket> socket_;
  std::map<uint32_t, std::shared_ptr<const WindowMessageHandler>> handlers_;
  uint32_t lastNumber_ = 0;
};

// Sends to another process; a process found gone loses its entries.
bool SendTo(const std::string& folder, uint32_t process, const MessageDatagram& datagram) {
  switch (SendDatagram(folder, process, datagram)) {
    case SendResult::kSent: return true;
    case SendResult::kGone: RemoveProcessEntries(folder, process); return false;
    case SendResult::kFailed: return false;
  }
  return false;
}

MessageDatagram Datagram(uint32_t window, uint16_t message, uintptr_t wParam, intptr_t lParam) {
  return {window, message, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam)};
}

}  // namespace

std::string WindowHandle::AsString() const { return std::to_string(process) + ":" + std::to_string(number); }

TopLevelWindow::TopLevelWindow(std::string_view className, std::string_view caption, WindowMessageHandler handler)
    : className_(CText(className)) {
  handle_ = {OwnProcess(), ProcessWindows::Instance().Add(className_, CText(caption), std::move(handler))};
}

TopLevelWindow::~TopLevelWindow() { ProcessWindows::Instance().Remove(handle_.number); }

bool TopLevelWindow::SetCaption(std::string_view caption) {
  return ProcessWindows::Instance().Rewrite(handle_.number, className_, CText(caption));
}

std::optional<WindowHandle> FindWindow(std::string_view className, std::string_view caption) {
  std::optional<std::string> folder = UsableRuntimeFolder();
  if (!folder) return std::nullopt;
  className = CText(className);
  caption = CText(caption);
  for (const WindowEntry& entry : ReadWindowDirectory(*folder).windows) {
    if (Matches(className, entry.className) && Matches(caption, entry.caption)) {
      return WindowHandle{entry.process, entry.number};
    }
  }
  return std::nullopt;
}

bool PostMessage(WindowHandle window, uint16_t message, uintptr_t wParam, intptr_t lParam) {
  if (window.number == kAllWindows) return false;  // no window has it
  const MessageDatagram datagram = Datagram(window.number, message, wParam, lParam);
  if (window.process == OwnProcess()) return ProcessWindows::Instance().Post(datagram);
  std::optional<std::string> folder = UsableRuntimeFolder();
  return folder && WindowEntryExists(*folder, window.process, window.number) &&
         SendTo(*folder, window.process, datagram);
}

void BroadcastMessage(uint16_t message, uintptr_t wParam, intptr_t lParam) {
  const MessageDatagram datagram = Datagram(kAllWindows, message, wParam, lParam);
  ProcessWindows::Instance().Post(datagram);
  std::optional<std::string> folder = UsableRuntimeFolder();
  if (!folder) return;
  for (uint32_t process : ReadWindowDirectory(*folder).processes) {
    if (process != OwnProcess()) SendTo(*folder, process, datagram);
  }
}

}  // namespace vesk
