// The GUI's clock: while the link waits, the windows keep painting but take no input.
#pragma once

#include "core/clock.h"

namespace qm {

class QtClock : public Clock {
 public:
  void Sleep(int ms) override;
  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override;
};

}  // namespace qm
