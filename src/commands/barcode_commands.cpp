#include "commands/barcode_commands.h"

namespace qm {

std::string BuildBarcode1DLine(const Barcode1DFields& f) {
  std::string line = "B1" + TruncatedInteger(f.xPos) + "," + TruncatedInteger(f.yPos) + "," +
                     std::to_string(f.barcode) + "," + std::to_string(f.narrowBarWidth) + "," +
                     std::to_string(f.wideBarWidth) + "," + std::to_string(f.height) + "," +
                     std::to_string(f.rotation) + (f.hri ? ",1" : ",0");
  if (f.quietZone) line += "," + std::to_string(f.quietZoneWidth);
  line += ",'" + f.data + "'";
  return line;
}

namespace {

// MaxiCode modes are numbered by the structure they encode: there is no mode 1.
int ModeNumber(MaxiCodeMode mode) {
  switch (mode) {
    case MaxiCodeMode::kMode2: return 2;
    case MaxiCodeMode::kMode3: return 3;
    case MaxiCodeMode::kMode4: return 4;
    case MaxiCodeMode::kMode0: break;
  }
  return 0;
}

std::string_view Letter(QrErrorCorrection level) {
  const auto index = static_cast<std::size_t>(level);
  return index < kQrErrorCorrectionNames.size() ? kQrErrorCorrectionNames[index] : "L";
}

std::string TypePart(const Barcode2DFields& f) {
  switch (f.type) {
    case Barcode2DType::kPdf417:
      return "P," + std::to_string(f.maxRow) + "," + std::to_string(f.maxCol) + "," +
             std::to_string(f.pdf417Level) + "," + std::to_string(f.compress) +
             (f.hri ? ",1," : ",0,") + std::to_string(f.origin) + "," +
             std::to_string(f.moduleWidth) + "," + std::to_string(f.barSize) + "," +
             std::to_string(f.rotation);
    case Barcode2DType::kQrCode:
      return std::string("Q,") + (f.qrModel == QrModel::kModel2 ? "2," : "1,") +
             std::string(Letter(f.qrErrorCorrection)) + "," + std::to_string(f.barSize) + "," +
             std::to_string(f.rotation);
    case Barcode2DType::kMaxiCode:
      break;
  }
  return "M," + std::to_string(ModeNumber(f.maxiCodeMode));
}

}  // namespace

void SelectBarcode2DType(Barcode2DFields& f, Barcode2DType type) {
  if (type == f.type) return;
  f.type = type;
  switch (type) {
    case Barcode2DType::kMaxiCode:
      SelectMaxiCodeMode(f, MaxiCodeMode::kMode0);
      break;
    case Barcode2DType::kPdf417:
      f.pdf417Level = 0;
      f.rotation = 0;
      f.barSize = 10;
      f.data = kPdf417Sample;
      break;
    case Barcode2DType::kQrCode:
      f.qrErrorCorrection = QrErrorCorrection::kL;
      f.rotation = 0;
      f.barSize = 4;
      f.qrModel = QrModel::kModel1;
      f.data = kQrCodeSample;
      break;
  }
}

void SelectMaxiCodeMode(Barcode2DFields& f, MaxiCodeMode mode) {
  f.maxiCodeMode = mode;
  const auto index = static_cast<std::size_t>(mode);
  f.data = kMaxiCodeSamples[index < kMaxiCodeSamples.size() ? index : 0];
}

std::string BuildBarcode2DLine(const Barcode2DFields& f) {
  return "B2" + TruncatedInteger(f.startX) + "," + TruncatedInteger(f.startY) + "," +
         TypePart(f) + ",'" + f.data + "'";
}

}  // namespace qm
