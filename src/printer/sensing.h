// The media sensor's readings as the printer reports them for calibration.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "printer/printer_state.h"

namespace qm::printer {

using SensingCounts = std::array<uint16_t, 32>;

// Readings over a feed of `feedDots` of the loaded media, labels of `labelDots` with gaps
// (or black marks) of `gapDots` between them: two clusters, the label's and the gap's, in
// the proportion the feed meets them, placed by the sensing type asked for. Gap media read
// low on the label and high in the gap; black-mark media read high on the label and low on
// the mark. Media without gaps (`gapDots` 0) show the label's cluster alone. The same
// arguments always give the same counts.
SensingCounts SensingDistribution(int feedDots, MediaType media, int labelDots, int gapDots);

// The 64-byte reply: count k in bytes 2k and 2k+1, low byte first.
std::string EncodeDistribution(const SensingCounts& counts);

// The threshold the printer's own calibration settles on for a media type.
int NaturalThreshold(MediaType media);

}  // namespace qm::printer
