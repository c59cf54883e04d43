// Parallel (LPT) ports: the lp driver, checked for a ready printer at open.
#pragma once

#include <memory>
#include <string>

#include "core/clock.h"
#include "link/fd_port.h"

namespace qm {

// True when an LPGETSTATUS byte shows the printer selected, not busy, without error, with
// paper.
bool ParallelStatusReady(int status);

// Opens `path` exclusively; fails unless the printer reports ready. A device without the
// status query (a pseudo-terminal standing in) skips the check.
std::unique_ptr<FdPort> OpenParallelPort(const std::string& path, Clock& clock, std::string& error);

}  // namespace qm
