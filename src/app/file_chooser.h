// Moved to gui/file_chooser.h; kept until the tester's includes follow.
#pragma once

#include "gui/file_chooser.h"
