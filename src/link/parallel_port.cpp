#include "link/parallel_port.h"

#include <linux/lp.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace qm {

bool ParallelStatusReady(int status) {
  // LP_PERRORP and LP_PBUSY are active low: set means no error and not busy.
  return (status & LP_PSELECD) && (status & LP_PERRORP) && (status & LP_PBUSY) &&
         !(status & LP_POUTPA);
}

std::unique_ptr<FdPort> OpenParallelPort(const std::string& path, Clock& clock, std::string& error) {
  const int fd = OpenDevice(path, true, error);
  if (fd == -1) return nullptr;
  auto port = std::make_unique<FdPort>(fd, clock);
  int status = 0;
  if (::ioctl(fd, LPGETSTATUS, &status) == -1) {
    if (errno != ENOTTY && errno != EINVAL) {
      error = path + ": cannot read printer status: " + std::strerror(errno);
      return nullptr;
    }
  } else if (!ParallelStatusReady(status)) {
    error = path + ": printer not ready (busy, off line, out of paper or off)";
    return nullptr;
  }
  if (port->isTerminal()) MakeRaw(fd);
  // Output still queued is the program's own last write before a reopen (a download
  // closes and reopens the port): it must still reach the printer.
  port->PurgeInput();
  return port;
}

}  // namespace qm
