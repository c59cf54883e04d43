#include "commands/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qm {

namespace {

std::string Reason(const std::string& path, int err) { return path + ": " + std::strerror(err); }

}  // namespace

ScriptLoad LoadScriptFile(const std::string& path) {
  ScriptLoad load;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd == -1) {
    load.error = Reason(path, errno);
    return load;
  }
  struct stat st {};
  if (::fstat(fd, &st) == -1 || !S_ISREG(st.st_mode)) {
    load.error = path + ": not a regular file";
    ::close(fd);
    return load;
  }
  if (static_cast<unsigned long long>(st.st_size) > kMaxScriptBytes) {
    load.error = path + ": larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB";
    ::close(fd);
    return load;
  }
  std::string data;
  // One allocation for the whole file, read straight into it.
  data.reserve(static_cast<size_t>(st.st_size) + 1);
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n == -1) {
      if (errno == EINTR) continue;
      load.error = Reason(path, errno);
      ::close(fd);
      return load;
    }
    data.append(buf, static_cast<size_t>(n));
    if (data.size() > kMaxScriptBytes) {
      load.error = path + ": larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB";
      ::close(fd);
      return load;
    }
  }
  ::close(fd);
  if (const size_t zero = data.find('\0'); zero != std::string::npos) data.resize(zero);
  load.ok = true;
  load.bytes = std::move(data);
  return load;
}

std::string SaveScriptFile(const std::string& path, const std::string& bytes) {
  // Saving through a link replaces the file it points at, not the link.
  std::string target = path;
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    ::free(real);
  }
  std::string temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd == -1) return Reason(path, errno);
  // Keep the permissions an existing file had; a new file gets the usual ones.
  struct stat st {};
  const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n == -1 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n == -1 ? errno : EIO;
      ::close(fd);
      ::unlink(temp.c_str());
      return Reason(path, err);
    }
    done += static_cast<size_t>(n);
  }
  const bool synced = ::fsync(fd) == 0;
  const int syncErr = errno;
  if (::close(fd) == -1 || !synced) {
    const int err = synced ? errno : syncErr;
    ::unlink(temp.c_str());
    return Reason(path, err);
  }
  if (::rename(temp.c_str(), target.c_str()) == -1) {
    const int err = errno;
    ::unlink(temp.c_str());
    return Reason(path, err);
  }
  return {};
}

}  // namespace qm
