// The GUI's clock. Long work runs on a worker thread (gui/long_work.h), so the link's
// waits simply block that thread; the stop request in force ends them at once.
#pragma once

#include "core/clock.h"

namespace qm {

class QtClock : public SystemClock {};

}  // namespace qm
