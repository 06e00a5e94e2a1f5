// Top-level windows that the processes of one user find by class and caption
// and post messages to, in place of the window system's messaging. Lookup
// and posting work in any process; a process that owns windows receives
// their messages from its Qt event loop. Message identifiers come from
// RegisterWindowMessage (platform/registered_messages.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

struct WindowHandle {
  uint32_t process = 0;
  uint32_t number = 0;

  // "<process>:<number>", for logs.
  std::string AsString() const;
  friend bool operator==(const WindowHandle&, const WindowHandle&) = default;
};

using WindowMessageHandler = std::function<void(uint16_t message, uintptr_t wParam, intptr_t lParam)>;

// A top-level window as the other processes see it, hidden or not, for as
// long as the object lives. Class and caption end at a NUL, as C strings do.
class TopLevelWindow {
 public:
  // Needs a QCoreApplication and runs on its thread; the handler is called
  // there, from the event loop, once for each message posted to the window,
  // and must not throw; an empty handler ignores them. Raises
  // vesk::Exception when the window cannot be registered (no application,
  // runtime folder refused, socket or entry not written).
  TopLevelWindow(std::string_view className, std::string_view caption, WindowMessageHandler handler);
  // From here on lookups miss the window and posts to it fail; messages not
  // yet handled are dropped.
  ~TopLevelWindow();
  TopLevelWindow(const TopLevelWindow&) = delete;
  TopLevelWindow& operator=(const TopLevelWindow&) = delete;

  WindowHandle Handle() const { return handle_; }
  // False, and the old caption kept, when the entry cannot be rewritten.
  bool SetCaption(std::string_view caption);

 private:
  WindowHandle handle_;
  std::string className_;
};

// A window of any process of the user whose class and caption equal the
// given ones without regard to case; an empty class or caption matches any.
// Of several, the one with the lowest handle.
std::optional<WindowHandle> FindWindow(std::string_view className, std::string_view caption);

// Queues the message for the window and returns at once. False when the
// window has gone, its queue is full or the runtime folder is refused.
bool PostMessage(WindowHandle window, uint16_t message, uintptr_t wParam, intptr_t lParam);

// Posts the message to every top-level window of the user.
void BroadcastMessage(uint16_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace vesk
