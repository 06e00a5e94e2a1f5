#include "platform/registered_messages.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "platform/caseless_text.h"
#include "platform/runtime_folder.h"
#include "runtime/exceptions.h"
#include "runtime/unique_fd.h"

namespace vesk {
namespace {

constexpr size_t kMaxNameLength = 255;
constexpr size_t kTableSize = 0x10000 - kFirstRegisteredMessage;

bool Acceptable(std::string_view name) {
  return !name.empty() && name.size() <= kMaxNameLength &&
         name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool LockWhole(int fd) {
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

std::optional<std::string> ReadAll(int fd) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
    if (count == 0) return bytes;
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<size_t>(count));
  }
}

bool WriteAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t count = pwrite(fd, bytes.data(), bytes.size(), offset);
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(count));
    offset += count;
  }
  return true;
}

// One name per line; the identifier is the line's index past
// kFirstRegisteredMessage. A last line without its line break was cut off by
// a writer that died and does not count.
std::vector<std::string_view> Names(std::string_view table) {
  std::vector<std::string_view> names;
  for (size_t end; (end = table.find('\n')) != std::string_view::npos; table.remove_prefix(end + 1)) {
    names.push_back(table.substr(0, end));
  }
  return names;
}

}  // namespace

uint16_t RegisterWindowMessage(std::string_view name) {
  if (!Acceptable(name)) return 0;
  std::string path;
  try {
    path = RuntimeFolder() + "/messages";
  } catch (const Exception&) {
    return 0;
  }
  UniqueFd table(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!table.Valid() || !LockWhole(table.Get())) return 0;
  std::optional<std::string> bytes = ReadAll(table.Get());
  if (!bytes) return 0;
  std::vector<std::string_view> names = Names(*bytes);
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualIgnoringCase(names[i], name)) return static_cast<uint16_t>(kFirstRegisteredMessage + i);
  }
  if (names.size() >= kTableSize) return 0;
  const off_t complete = static_cast<off_t>(bytes->rfind('\n') + 1);  // npos + 1 == 0
  // The line break comes last: a write cut short leaves a line that readers
  // skip and the next writer cuts away.
  std::string line = std::string(name) + "\n";
  if (ftruncate(table.Get(), complete) != 0 || !WriteAt(table.Get(), line, complete)) return 0;
  return static_cast<uint16_t>(kFirstRegisteredMessage + names.size());
}

}  // namespace vesk
