#include "core/progress.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace qm {

CancelSignal::CancelSignal() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CancelSignal::~CancelSignal() {
  if (fd_ >= 0) ::close(fd_);
}

void CancelSignal::Raise() noexcept {
  raised_.store(true, std::memory_order_release);
  if (fd_ < 0) return;
  const int saved = errno;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
  errno = saved;
}

void CancelSignal::Reset() noexcept {
  raised_.store(false, std::memory_order_release);
  if (fd_ < 0) return;
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(fd_, &count, sizeof count);
}

}  // namespace qm
