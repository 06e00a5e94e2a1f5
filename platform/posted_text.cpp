#include "platform/posted_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>

#include "platform/runtime_folder.h"
#include "runtime/exceptions.h"
#include "runtime/file_io.h"
#include "runtime/unique_fd.h"

namespace vesk {
namespace {

constexpr int kNameAttempts = 8;

std::optional<std::string> FolderOrNothing() {
  try {
    return RuntimeFolder();
  } catch (const Exception&) {
    return std::nullopt;
  }
}

std::string PathOf(const std::string& folder, uintptr_t key) {
  char name[32];
  std::snprintf(name, sizeof name, "/text-%016jx", static_cast<uintmax_t>(key));
  return folder + name;
}

// The key of a new file that holds the text. O_EXCL never opens what is
// there already, a symbolic link included.
std::optional<uintptr_t> LeaveText(const std::string& folder, std::string_view text) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const auto key = static_cast<uintptr_t>(QRandomGenerator::system()->generate64());
    const std::string path = PathOf(folder, key);
    UniqueFd file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.Valid()) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    // Whatever the umask says.
    if (fchmod(file.Get(), 0600) == 0 && WriteAll(file.Get(), text) && file.Close()) return key;
    unlink(path.c_str());
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

bool PostText(WindowHandle window, uint16_t message, std::string_view text, intptr_t lParam) {
  if (text.size() > kMaxPostedText) return false;
  const std::optional<std::string> folder = FolderOrNothing();
  if (!folder) return false;
  const std::optional<uintptr_t> key = LeaveText(*folder, text);
  if (!key) return false;
  if (PostMessage(window, message, *key, lParam)) return true;
  unlink(PathOf(*folder, *key).c_str());
  return false;
}

std::optional<std::string> TakePostedText(uintptr_t key) {
  const std::optional<std::string> folder = FolderOrNothing();
  if (!folder) return std::nullopt;
  const std::string path = PathOf(*folder, key);
  // Non-blocking, so that a FIFO put there cannot hold the receiver.
  UniqueFd file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  // Whatever lies there goes, also what is refused: it is not read twice.
  unlink(path.c_str());
  if (!file.Valid()) return std::nullopt;
  struct stat info {};
  if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
      (info.st_mode & 077) != 0 || info.st_size > static_cast<off_t>(kMaxPostedText)) {
    return std::nullopt;
  }
  std::string text(kMaxPostedText + 1, '\0');
  size_t length = 0;
  while (length < text.size()) {
    const ssize_t count = read(file.Get(), text.data() + length, text.size() - length);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    length += static_cast<size_t>(count);
  }
  // Grown since the check.
  if (length > kMaxPostedText) return std::nullopt;
  text.resize(length);
  return text;
}

}  // namespace vesk
