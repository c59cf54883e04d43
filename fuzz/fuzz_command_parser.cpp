// The virtual printer's command splitter: the same bytes must give the same commands
// however they are cut up, with bounded memory, and Abandon must leave nothing behind.
//
// Input: two bytes choose the cuts (seed, largest piece), one byte where the stream is
// abandoned, then the stream itself.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "printer/command_parser.h"

namespace {

using qm::printer::Command;
using qm::printer::CommandParser;
using qm::printer::SkipReason;

struct Event {
  bool command = false;
  SkipReason reason = SkipReason::kGarbage;
  std::string text;
  std::string payload;
  uint64_t payloadSize = 0;
  bool refused = false;
  bool operator==(const Event&) const = default;
};

class Recorder : public qm::printer::ParserSink {
 public:
  void OnCommand(Command&& c) override {
    FUZZ_CHECK(!c.text.empty());
    FUZZ_CHECK(c.text.size() <= CommandParser::kMaxCommandBytes);
    if (c.IsImageStore()) {
      // Refused headers take no bytes; accepted ones bring exactly what they declared.
      FUZZ_CHECK(c.payloadRefused == (c.payloadSize > CommandParser::kMaxImageBytes));
      FUZZ_CHECK(c.payloadRefused ? c.payload.empty() : c.payload.size() == c.payloadSize);
    } else {
      FUZZ_CHECK(c.payload.empty() && c.payloadSize == 0);
    }
    events.push_back(Event{true, SkipReason::kGarbage, std::move(c.text), std::move(c.payload), c.payloadSize,
                           c.payloadRefused});
  }
  void OnSkipped(std::string_view bytes, SkipReason reason) override {
    FUZZ_CHECK(!bytes.empty());
    // Noise is reported when each piece ends, so its pieces depend on the cuts: join them.
    if (reason == SkipReason::kGarbage && !sealed && !events.empty() && !events.back().command &&
        events.back().reason == SkipReason::kGarbage) {
      events.back().text.append(bytes);
      return;
    }
    events.push_back(Event{false, reason, std::string(bytes), {}, 0, false});
    sealed = false;
  }
  std::vector<Event> events;
  bool sealed = false;  // the next noise starts an event of its own
};

void CheckBounded(const CommandParser& parser) {
  FUZZ_CHECK(parser.PendingBytes() <= CommandParser::kMaxCommandBytes + CommandParser::kMaxImageBytes);
}

std::vector<Event> Whole(std::string_view stream) {
  Recorder r;
  CommandParser parser(r);
  parser.Feed(stream);
  CheckBounded(parser);
  parser.Abandon();
  return r.events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  qm::fuzz::Choices choices(data[0] * 0x9E3779B1u + 1);
  const size_t maxPiece = 1 + data[1];
  const std::string_view stream(reinterpret_cast<const char*>(data + 3), size - 3);
  const size_t abandonAt = stream.empty() ? 0 : data[2] % (stream.size() + 1);

  // Cut anywhere: the same events as in one piece.
  const std::vector<Event> whole = Whole(stream);
  {
    Recorder r;
    CommandParser parser(r);
    for (size_t at = 0; at < stream.size();) {
      const size_t n = choices.Piece(stream.size() - at, maxPiece);
      parser.Feed(stream.substr(at, n));
      CheckBounded(parser);
      at += n;
    }
    parser.Abandon();
    FUZZ_CHECK(r.events == whole);
  }

  // Abandoned halfway: what follows reads exactly as it would on a fresh stream.
  {
    Recorder r;
    CommandParser parser(r);
    parser.Feed(stream.substr(0, abandonAt));
    parser.Abandon();
    FUZZ_CHECK(parser.PendingBytes() == 0 && !parser.InPayload() && parser.WaitingImageHeader().empty());
    const size_t before = r.events.size();
    r.sealed = true;
    parser.Feed(stream.substr(abandonAt));
    parser.Abandon();
    const std::vector<Event> fresh = Whole(stream.substr(abandonAt));
    FUZZ_CHECK(std::vector<Event>(r.events.begin() + static_cast<std::ptrdiff_t>(before), r.events.end()) == fresh);
  }
  return 0;
}
