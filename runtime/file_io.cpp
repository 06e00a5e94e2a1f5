#include "runtime/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "runtime/unique_fd.h"

namespace vesk {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A fresh name next to path: hidden, with the process id and a counter, so
// that concurrent writers never share one; leftovers of a crashed process
// are stepped over by the caller.
std::string TemporaryName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

// Makes the rename itself durable.
void SyncFolder(const std::string& folder) {
  const UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Valid()) fsync(fd.Get());
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::optional<std::string> ReadFile(const std::string& path) {
  UniqueFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = read(file.Get(), buffer, sizeof buffer);
    if (count == 0) return bytes;
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;  // a folder, or a read error
    }
    bytes.append(buffer, static_cast<size_t>(count));
  }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty() || path.back() == '/') return false;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName(path);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  UniqueFd file(fd);
  // The replacement keeps the permissions of the file it replaces.
  struct stat old {};
  bool written =
      (stat(path.c_str(), &old) != 0 || fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, bytes) && fsync(fd) == 0;
  written = file.Close() && written;
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}

}  // namespace vesk
