#include "printer/printer_state.h"

#include <array>

namespace qm::printer {

namespace {

// Indexed like the USB model table: 0 LRX-500, 1 LRX-500II, 2 and 3 the C series, 4 to 7
// the A series. The LRX models carry the RFID encoder.
constexpr std::array<ModelInfo, kModelCount> kModels{{
    {"LRX-500", "RFID TT 203dpi", "V1.41"},
    {"LRX-500II", "RFID TT 203dpi", "V1.52"},
    {"LMX-C410", "TT 203dpi", "V1.39"},
    {"LMX-C411", "TT 203dpi", "V1.40"},
    {"LMX-A410", "DT 203dpi", "V1.45"},
    {"LMX-A411", "DT 203dpi", "V1.45"},
    {"LMX-A210", "DT 203dpi", "V1.47"},
    {"LMX-A211", "DT 203dpi", "V1.47"},
}};

}  // namespace

const ModelInfo& ModelAt(int modelIndex) {
  if (modelIndex < 0 || modelIndex >= kModelCount) modelIndex = 1;
  return kModels[static_cast<size_t>(modelIndex)];
}

StoredState FactoryState(int modelIndex) {
  StoredState s;
  s.modelIndex = (modelIndex >= 0 && modelIndex < kModelCount) ? modelIndex : 1;
  // The narrower A2 models have a 2-inch head.
  if (s.modelIndex == 6 || s.modelIndex == 7) s.media.paperWidth = 406;
  return s;
}

bool ParseFaults(std::string_view list, Faults& faults, std::string& error) {
  struct Name {
    std::string_view name;
    bool Faults::*flag;
  };
  static constexpr Name kNames[] = {
      {"paper-empty", &Faults::paperEmpty},     {"cover-open", &Faults::coverOpen},
      {"cutter-jam", &Faults::cutterJam},       {"head-overheat", &Faults::headOverheat},
      {"gap-error", &Faults::gapError},         {"ribbon-end", &Faults::ribbonEnd},
      {"paper-jam", &Faults::paperJam},         {"paused", &Faults::paused},
      {"printing", &Faults::printing},          {"busy", &Faults::busy},
      {"no-tag", &Faults::tagAbsent},
      {"building", &Faults::building},
  };
  Faults result;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string_view item =
        list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    start = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
    if (item.empty()) continue;
    if (item.substr(0, 3) == "ee=") {
      const std::string_view code = item.substr(3);
      const auto printable = [](char c) { return c > 0x20 && c < 0x7F; };
      if (code.size() != 2 || !printable(code[0]) || !printable(code[1])) {
        error = "\"" + std::string(item) + "\": an error code is two characters, e.g. ee=12";
        return false;
      }
      result.errorCode = std::string(code);
      continue;
    }
    if (item.substr(0, 4) == "cps=") {
      const std::string_view hex = item.substr(4);
      const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      };
      if (hex.size() != 2 || digit(hex[0]) < 0 || digit(hex[1]) < 0) {
        error = "\"" + std::string(item) + "\": CPS bits are two hexadecimal digits, e.g. cps=F0";
        return false;
      }
      result.cpsExtra = digit(hex[0]) * 16 + digit(hex[1]);
      continue;
    }
    bool known = false;
    for (const Name& n : kNames) {
      if (n.name == item) {
        result.*(n.flag) = true;
        known = true;
      }
    }
    if (!known) {
      error = "unknown fault \"" + std::string(item) +
              "\" (paper-empty, cover-open, cutter-jam, head-overheat, gap-error, ribbon-end, "
              "paper-jam, paused, printing, busy, building, no-tag, cps=HH, ee=XY)";
      return false;
    }
  }
  faults = result;
  return true;
}

}  // namespace qm::printer
