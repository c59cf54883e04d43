// The print-count line of the copies builder.
#pragma once

#include <string>

namespace qm {

// "P" + first + "," + second + CR LF, e.g. "P1,1\r\n".
std::string BuildCopiesLine(int first, int second);

}  // namespace qm
