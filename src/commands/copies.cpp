#include "commands/copies.h"

namespace qm {

std::string BuildCopiesLine(int first, int second) {
  return "P" + std::to_string(first) + "," + std::to_string(second) + "\r\n";
}

}  // namespace qm
