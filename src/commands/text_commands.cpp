#include "commands/text_commands.h"

namespace qm {

std::optional<FieldError> ValidateBitmapText(const BitmapTextFields& fields) {
  if (auto error = CheckRange(kBitmapXPosRange, fields.xPos)) return error;
  return CheckRange(kBitmapYPosRange, fields.yPos);
}

std::string BuildBitmapTextLine(const BitmapTextFields& f) {
  std::string line = "T";
  line += TruncatedInteger(f.xPos) + "," + TruncatedInteger(f.yPos) + ",";
  line += f.font;
  line += "," + std::to_string(f.hMulti) + "," + std::to_string(f.vMulti) + "," +
          std::to_string(f.spaceR) + "," + std::to_string(f.rotation);
  line += f.reverse ? ",R" : ",N";
  line += f.bold ? ",B" : ",N";
  line += ",'" + f.data + "'";
  return line;
}

namespace {

char JustificationLetter(Justification j) {
  switch (j) {
    case Justification::kRight: return 'R';
    case Justification::kCenter: return 'C';
    case Justification::kLeft: break;
  }
  return 'L';
}

}  // namespace

std::string BuildVectorTextLine(const VectorTextFields& f) {
  std::string line = "V";
  line += TruncatedInteger(f.xPos) + "," + TruncatedInteger(f.yPos) + ",U," +
          std::to_string(f.width) + "," + std::to_string(f.height) + "," +
          std::to_string(f.fontSpace);
  line += f.bold ? ",B" : ",N";
  line += f.reverse ? ",R" : ",N";
  line += f.italic ? ",I" : ",N";
  line += "," + std::to_string(f.rotation) + ",";
  line += JustificationLetter(f.justification);
  line += f.textDirection == TextDirection::kRightToLeft ? ",1" : ",0";
  line += ",'" + f.data + "'";
  return line;
}

}  // namespace qm
