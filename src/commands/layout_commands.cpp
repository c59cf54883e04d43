#include "commands/layout_commands.h"

namespace qm {

namespace {

std::string_view NameAt(const auto& names, auto value) {
  const auto index = static_cast<std::size_t>(value);
  return index < names.size() ? names[index] : names[0];
}

std::string Dots(float value, LengthUnit unit) { return TruncatedInteger(DotsOf(value, unit)); }

}  // namespace

bool TakesOptional(BlockType type) { return type == BlockType::kS || type == BlockType::kB; }

void SelectBlockType(BlockDrawFields& fields, BlockType type) {
  fields.type = type;
  fields.optional = type == BlockType::kS ? 10 : 20;
  fields.endY = type == BlockType::kS ? 300 : 120;
}

std::string BuildBlockDrawLine(const BlockDrawFields& f) {
  std::string line = "BD" + TruncatedInteger(f.startX) + "," + TruncatedInteger(f.startY) + "," +
                     TruncatedInteger(f.endX) + "," + TruncatedInteger(f.endY) + ",";
  line += NameAt(kBlockTypeNames, f.type);
  if (TakesOptional(f.type)) line += "," + std::to_string(f.optional);
  return line;
}

void ChangeLabelUnit(LabelSettingFields& f, LengthUnit unit) {
  for (float* value : {&f.width, &f.length, &f.xMargin, &f.yMargin}) {
    *value = ConvertLength(*value, f.unit, unit);
  }
  f.unit = unit;
}

std::vector<std::string> BuildLabelSettingLines(const LabelSettingFields& f) {
  static constexpr std::array<std::string_view, 3> kMediaSuffixes = {",24,G", ",0,C", ",24,B"};
  std::vector<std::string> lines;
  if (f.widthApply) lines.push_back("SW" + Dots(f.width, f.unit));
  if (f.lengthApply) {
    lines.push_back("SL" + Dots(f.length, f.unit) + std::string(NameAt(kMediaSuffixes, f.media)));
  }
  if (f.marginApply) {
    lines.push_back("SM" + Dots(f.xMargin, f.unit) + "," + Dots(f.yMargin, f.unit));
  }
  return lines;
}

namespace {

std::string SpeedLine(const PrintingSettingFields& f) {
  return "SS" + std::to_string(static_cast<int>(f.speed));
}
std::string DensityLine(const PrintingSettingFields& f) { return "SD" + std::to_string(f.density); }
std::string DirectionLine(const PrintingSettingFields& f) {
  return f.direction == PrintDirection::kBottom ? "SOB" : "SOT";
}

}  // namespace

std::vector<std::string> BuildPrintingSettingLines(const PrintingSettingFields& f) {
  std::vector<std::string> lines;
  if (f.speedApply) lines.push_back(SpeedLine(f));
  if (f.densityApply) lines.push_back(DensityLine(f));
  if (f.directionApply) lines.push_back(DirectionLine(f));
  return lines;
}

std::string BuildPrinterSettingTest(const PrintingSettingFields& f) {
  static constexpr std::string_view kText = "T100,";
  static constexpr std::string_view kStyle = ",3,1,1,0,0,N,N,'";
  static constexpr std::string_view kRule = "=============================";
  std::string bytes;
  const auto text = [&](int y, std::string_view words) {
    bytes += kText;
    bytes += std::to_string(y);
    bytes += kStyle;
    bytes += words;
    bytes += "'\r";
  };
  const auto command = [&](const std::string& line) { bytes += line + "\r"; };

  text(100, "Printer Setting Test");
  text(150, kRule);
  if (f.speedApply) {
    text(200, "Printing Speed     : " + std::string(NameAt(kPrintSpeedNames, f.speed)));
    command(SpeedLine(f));
  }
  if (f.densityApply) {
    text(250, "Density(0~20)      : " + std::to_string(f.density));
    command(DensityLine(f));
  }
  if (f.directionApply) {
    text(300, "Printing Direction : " + DirectionLine(f));
    command(DirectionLine(f));
  }
  text(350, kRule);
  command("BD150,500,495,750,B,15");
  command("BD200,550,300,700,S,30");
  command("BD430,550,330,700,S,30");
  command("");
  command("P1");
  return bytes;
}

}  // namespace qm
