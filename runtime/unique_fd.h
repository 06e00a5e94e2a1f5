// Owner of one POSIX file descriptor: closes it when it goes out of scope.
#pragma once

#include <unistd.h>

#include <utility>

namespace vesk {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) close(fd_);
  }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    UniqueFd(std::move(other)).Swap(*this);
    return *this;
  }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and reports whether the last writes went through.
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }
  void Swap(UniqueFd& other) noexcept { std::swap(fd_, other.fd_); }

 private:
  int fd_ = -1;
};

}  // namespace vesk
