// The media sensor's readings as the printer reports them for calibration.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "printer/printer_state.h"

namespace qm::printer {

using SensingCounts = std::array<uint16_t, 32>;

// Readings over a label of `labelDots` with a gap (or black mark) of `gapDots`: two
// clusters, the label's and the gap's, placed by media type. Gap media read low on the
// label and high in the gap; black-mark media read high on the label and low on the mark.
// The same arguments always give the same counts.
SensingCounts SensingDistribution(int labelDots, MediaType media, int gapDots);

// The 64-byte reply: count k in bytes 2k and 2k+1, low byte first.
std::string EncodeDistribution(const SensingCounts& counts);

// The threshold the printer's own calibration settles on for a media type.
int NaturalThreshold(MediaType media);

}  // namespace qm::printer
