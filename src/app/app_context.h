// Moved to gui/app_context.h; kept until the tester's includes follow.
#pragma once

#include "gui/app_context.h"
