// The virtual printer without its ports: bytes over several connections, cut at chosen
// points, with connections closing and time passing between pieces. Replies go only to the
// connection whose bytes asked, the bookkeeping stays bounded, and a port's one continuous
// stream answers the same however its bytes are cut.
//
// Input: a flags byte (bits 0-1: connections - 1; bit 2: one serial stream, compared
// against itself fed whole), the cut seed, the largest piece, then the bytes.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "printer/printer_core.h"

namespace {

using qm::printer::Origin;
using qm::printer::PrinterCore;
using qm::printer::PrinterModel;

struct Run {
  std::string replies;
  int64_t nowMs = 0;
  const Origin* feeding = nullptr;
};

PrinterCore::Hooks HooksFor(Run& run) {
  PrinterCore::Hooks hooks;
  hooks.reply = [&run](const Origin& origin, std::string bytes) {
    // A reply belongs to the stream being read, never to another client.
    FUZZ_CHECK(run.feeding != nullptr);
    FUZZ_CHECK(origin.kind == run.feeding->kind && origin.channel == run.feeding->channel);
    run.replies += bytes;
  };
  hooks.log = [](std::string line) { FUZZ_CHECK(!line.empty()); };
  hooks.now = [] { return int64_t{0}; };
  hooks.monotonicNow = [&run] { return run.nowMs; };
  return hooks;
}

void CheckBounded(const PrinterCore& core, size_t connections) {
  FUZZ_CHECK(core.streamCount() <= connections);
  FUZZ_CHECK(core.labels().size() <= PrinterCore::kLabelHistory);
  FUZZ_CHECK(core.model().PendingLabel().size() <= PrinterModel::kMaxLabelCommands);
  size_t stored = 0;
  for (const auto& [name, bytes] : core.model().Images()) stored += bytes;
  FUZZ_CHECK(stored <= PrinterModel::kImageStoreBytes);
}

void Feed(PrinterCore& core, Run& run, std::string_view bytes, const Origin& origin) {
  run.feeding = &origin;
  core.Feed(bytes, origin);
  run.feeding = nullptr;
}

// Several TCP connections, each a stream of its own, some closing and reopening.
void Connections(std::string_view stream, qm::fuzz::Choices& choices, size_t maxPiece, size_t count) {
  Run run;
  PrinterCore core(qm::printer::FactoryState(1), HooksFor(run));
  std::vector<Origin> open(count);
  uint64_t nextChannel = 0;
  for (Origin& o : open) {
    o.kind = qm::kEthernet;
    o.channel = ++nextChannel;
    o.name = "tcp#" + std::to_string(o.channel);
  }
  uint64_t ended = 0;
  for (size_t at = 0; at < stream.size();) {
    Origin& origin = open[choices.Below(count)];
    const uint32_t event = choices.Next();
    if (event % 8 == 0) {
      // Closes the connection; its next bytes come over a new one.
      core.EndStream(origin);
      ++ended;
      origin.channel = ++nextChannel;
      origin.name = "tcp#" + std::to_string(origin.channel);
    }
    // Now and then a pause, sometimes past the time an image waits for its bytes.
    if ((event >> 3) % 4 == 0) run.nowMs += static_cast<int64_t>((event >> 5) % 8) * 1000;
    const size_t n = choices.Piece(stream.size() - at, maxPiece);
    Feed(core, run, stream.substr(at, n), origin);
    CheckBounded(core, count);
    at += n;
  }
  for (const Origin& o : open) core.EndStream(o);
  ended += count;
  FUZZ_CHECK(core.streamCount() == 0 && !core.InPayload());
  // Every byte is counted on the connection that brought it, while the history holds them all.
  if (ended <= PrinterCore::kTallyHistory) {
    uint64_t counted = 0;
    for (const auto& tally : core.received()) counted += tally.bytes;
    FUZZ_CHECK(counted == stream.size());
  }
}

struct Observed {
  std::string replies;
  uint64_t labels = 0;
  qm::printer::StoredState stored;
  std::string lastError;
  std::map<std::string, size_t> images;
  bool operator==(const Observed&) const = default;
};

// One serial port: a single stream, cut into pieces or not.
Observed Serial(std::string_view stream, qm::fuzz::Choices* choices, size_t maxPiece) {
  Run run;
  PrinterCore core(qm::printer::FactoryState(1), HooksFor(run));
  Origin serial;
  serial.kind = qm::kSerial;
  serial.name = "serial";
  for (size_t at = 0; at < stream.size();) {
    const size_t n = choices ? choices->Piece(stream.size() - at, maxPiece) : stream.size();
    Feed(core, run, stream.substr(at, n), serial);
    CheckBounded(core, 1);
    at += n;
  }
  return Observed{run.replies, core.model().labelsPrinted(), core.model().stored(),
                  core.model().volatileState().lastError, core.model().Images()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  qm::fuzz::Choices choices(data[1] * 0x9E3779B1u + 7);
  const size_t maxPiece = 1 + data[2];
  const std::string_view stream(reinterpret_cast<const char*>(data + 3), size - 3);
  if (flags & 4) {
    FUZZ_CHECK(Serial(stream, &choices, maxPiece) == Serial(stream, nullptr, 0));
  } else {
    Connections(stream, choices, maxPiece, 1 + (flags & 3));
  }
  return 0;
}
