#include "downloads/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace qm {

FileSource::FileSource(int fd) : fd_(fd) {
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<uint64_t>(st.st_size);
}

std::optional<FileSource> FileSource::Open(const std::string& path, std::string* why) {
  const auto refuse = [&](std::string reason) -> std::optional<FileSource> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  // Non-blocking, so a FIFO without a writer opens at once and is refused below instead of
  // holding the open for ever; the flag is cleared again for the reads.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return refuse(std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return refuse(std::strerror(err));
  }
  // A folder, a device or a pipe: none has a length to send, and some never end.
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return refuse("not a regular file");
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
    const int err = errno;
    ::close(fd);
    return refuse(std::strerror(err));
  }
  return FileSource(fd);
}

FileSource::FileSource(FileSource&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      failed_(other.failed_),
      size_(other.size_) {}

FileSource::~FileSource() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileSource::Read(char* buffer, size_t max) {
  size_t got = 0;
  while (got < max && !failed_) {
    const ssize_t n = ::read(fd_, buffer + got, max - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      failed_ = true;
    }
  }
  return got;
}

}  // namespace qm
