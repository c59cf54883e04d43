// The tools' reply parsers: whatever a printer (or the line noise in its place) sends back,
// each parser returns a value its page can show: list positions inside their lists, boxes
// that exist, levels on the scale.
//
// Input: one byte picks the parser (and its variant), the rest is the reply.
#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "rfid/rfid_commands.h"
#include "settings/calibration.h"
#include "settings/memory_switch.h"
#include "settings/printer_status.h"
#include "link/query.h"
#include "settings/user_settings.h"

namespace {

bool InList(int index, size_t entries) { return index == -1 || (index >= 0 && static_cast<size_t>(index) < entries); }
bool OnScale(int index) { return index >= 0 && index < qm::kSensingLevels; }

void SignedReply(std::string_view reply) {
  const auto v = qm::ParseSignedReply(reply);
  if (!v) return;
  FUZZ_CHECK(v->value >= 0 && v->value <= 999);
  FUZZ_CHECK(v->negative == (reply[0] == '-'));
  // The three digits the value was read from.
  const std::string digits = std::to_string(1000 + v->value).substr(1);
  FUZZ_CHECK(reply.substr(1, 3) == digits);
}

void Distribution(std::string_view reply, qm::SensingType type) {
  const qm::SensingCounts counts = qm::DecodeDistribution(reply);
  for (size_t k = 0; k < counts.size(); ++k) {
    if (2 * k + 1 >= reply.size()) FUZZ_CHECK(counts[k] == 0);
  }
  const qm::SensingAnalysis a = qm::AnalyseSensing(counts, type);
  FUZZ_CHECK(OnScale(a.lo) && OnScale(a.hi) && OnScale(a.mid) && OnScale(a.selected));
  FUZZ_CHECK(a.middleGapValue == qm::SensingLevel(a.selected));
  if (a.firstEnabled <= a.lastEnabled) FUZZ_CHECK(OnScale(a.firstEnabled) && OnScale(a.lastEnabled));
  for (int i = 0; i < 8; ++i) {
    const std::string label = qm::ExtraRadioLabel(type, a.lo, a.hi, i);
    FUZZ_CHECK(label.empty() == !qm::ExtraLevel(type, a.lo, a.hi, i).has_value());
  }
  for (int k = 0; k < qm::kSensingLevels; ++k) FUZZ_CHECK(qm::CountText(counts[static_cast<size_t>(k)]).size() >= 4);
}

void Status(std::string_view reply, int which) {
  const auto command = static_cast<qm::StatusCommand>(which % qm::kStatusCommandCount);
  const std::vector<int> ticked = qm::TickedBoxes(command, reply);
  const size_t boxes = qm::StatusBoxes(command).size();
  std::set<int> seen;
  for (const int box : ticked) {
    FUZZ_CHECK(box >= 0 && static_cast<size_t>(box) < boxes);
    FUZZ_CHECK(seen.insert(box).second);
  }
  (void)qm::StatusIsOk(command, ticked);
}

void Rfid(std::string_view reply, int which) {
  const int n = 1 + which % qm::kRfidQueries;
  for (const int before : {-1, 0, 1}) {
    qm::RfidSettings s;
    s.tagType = before;
    qm::ApplyRfidReply(n, reply, s);
    FUZZ_CHECK(InList(s.tagType, 2));
    FUZZ_CHECK(n != 1 || s.tagType != -1 || before == -1);  // an unparsed type keeps what it was
    FUZZ_CHECK(InList(s.power, qm::kRfidPowerEntries));
    FUZZ_CHECK(InList(s.retries, qm::kRfidMaxRetries + 1));
    FUZZ_CHECK(InList(s.labels, qm::kRfidMaxLabels + 1));
    FUZZ_CHECK(s.position.size() <= reply.size());
  }
  (void)qm::LeadingNumber(reply);
}

// A tag read's characters placed in the grid, for any range the dialog lets through.
void TagGrid(std::string_view got, uint8_t shape) {
  if (got.size() < 2) return;
  const int start = static_cast<uint8_t>(got[0]) % 70;
  const int bytes = static_cast<uint8_t>(got[1]) % 70;
  if (!qm::TagRangeFits(start, bytes)) return;
  const int chars = (shape & 1) ? 2 : 1;
  got.remove_prefix(2);
  const auto cells = qm::PlaceTagData(got, start, chars, chars * bytes);
  for (const std::string& cell : cells) {
    FUZZ_CHECK(cell.size() <= static_cast<size_t>(chars) || cell == "-");
    FUZZ_CHECK(cell.find('\0') == std::string::npos);
  }
}

// A switch byte as read: every field decodes into its list, and an update keeps the bits
// another item owns.
void Switches(std::string_view reply) {
  if (reply.size() < 3) return;
  const auto current = static_cast<uint8_t>(reply[0]);
  const auto owned = static_cast<uint8_t>(reply[1]);
  const auto value = static_cast<uint8_t>(reply[2]);
  const uint8_t merged = qm::MergeSwitch(current, owned, value);
  FUZZ_CHECK((merged & owned) == (value & owned));
  FUZZ_CHECK((merged & ~owned & 0xFF) == (current & ~owned & 0xFF));
  const qm::SerialSwitch s = qm::DecodeSerialSwitch(current);
  FUZZ_CHECK(InList(s.handShake, 2) && InList(s.stopBits, 2) && InList(s.dataLength, 2));
  FUZZ_CHECK(InList(s.parityCheck, 2) && InList(s.paritySelection, 2) && InList(s.baudRate, qm::kBaudRateNames.size()));
  FUZZ_CHECK(InList(qm::DecodeSpeed(current), qm::kSpeedNames.size()));
  if (const auto strobe = qm::DecodeStrobe(current)) FUZZ_CHECK(InList(*strobe, qm::kStrobeNames.size()));
  if (const auto gap = qm::DecodeGapPosition(current)) FUZZ_CHECK(InList(*gap, qm::kGapPositionNames.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t pick = data[0];
  const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (pick % 8) {
    case 0: SignedReply(reply); break;
    case 1: Distribution(reply, qm::SensingType::kGap); break;
    case 2: Distribution(reply, qm::SensingType::kBlackMark); break;
    case 3: Status(reply, pick / 8); break;
    case 4: Rfid(reply, pick / 8); break;
    case 5: TagGrid(reply, pick / 8); break;
    case 6: Switches(reply); break;
    default: {
      const std::string stripped = qm::StripLineEnds(std::string(reply));
      FUZZ_CHECK(reply.substr(0, stripped.size()) == stripped);
      FUZZ_CHECK(stripped.empty() || (stripped.back() != '\r' && stripped.back() != '\n'));
      break;
    }
  }
  return 0;
}
