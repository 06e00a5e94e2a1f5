// A text that travels with a posted window message. A message carries two
// numbers only, so the sender leaves the text in a file of its own in the
// runtime folder, readable by the user alone, and posts the file's key as
// wParam; the receiver takes the text, and the file is gone then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window_messages.h"

namespace vesk {

// Longer texts are neither left nor taken.
inline constexpr size_t kMaxPostedText = 4096;

// Leaves the text under a fresh key and posts the message with that key as
// wParam. False, and no file left behind, when the text is too long, the
// file cannot be written or the post fails.
bool PostText(WindowHandle window, uint16_t message, std::string_view text, intptr_t lParam = 0);

// The text left under key, once: the file is removed. Nothing when there is
// none, or it is not a regular file of this user that others cannot read,
// or it is longer than kMaxPostedText; a symbolic link is never followed.
std::optional<std::string> TakePostedText(uintptr_t key);

}  // namespace vesk
