// Moved to gui/builder_dialog.h; kept until the tester's includes follow.
#pragma once

#include "gui/builder_dialog.h"
