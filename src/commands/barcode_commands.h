// The linear "B1" and two-dimensional "B2" barcode command lines, and the 2D builder's
// switches between symbologies, which reload that symbology's defaults and sample data.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "commands/command_framing.h"

namespace qm {

// Linear symbologies; the command carries the position.
inline constexpr std::array<std::string_view, 10> kBarcode1DTypes = {
    "Code39", "Code128", "I2of5", "Codabar", "Code93",
    "UPC-A",  "UPC-E",   "EAN13", "EAN8",    "UCC/EAN128"};
inline constexpr std::array<std::string_view, 2> kHriNames = {"Off", "On"};

inline constexpr FieldRange kNarrowBarRange{"N-Bar W", 1, 100};
inline constexpr FieldRange kWideBarRange{"W-Bar W", 1, 100};
inline constexpr FieldRange kBarcodeHeightRange{"Height", 0, 1000};
inline constexpr FieldRange kQuietZoneRange{"Q-Zone", 0, 20};

struct Barcode1DFields {
  double xPos = 100;
  double yPos = 100;
  int barcode = 0;  // position in kBarcode1DTypes
  int narrowBarWidth = 2;
  int wideBarWidth = 7;
  int height = 100;
  int rotation = 0;  // position in kRotationNames
  bool hri = true;
  bool quietZone = false;  // when set, quietZoneWidth is written as an extra field
  int quietZoneWidth = 12;
  std::string data = "123456789";
};

// "B1100,100,0,2,7,100,0,1,'123456789'" for the defaults.
std::string BuildBarcode1DLine(const Barcode1DFields& fields);

enum class Barcode2DType { kMaxiCode, kPdf417, kQrCode };
inline constexpr std::array<std::string_view, 3> kBarcode2DTypeNames = {"Maxicode", "PDF417",
                                                                        "QR Code"};

enum class MaxiCodeMode { kMode0, kMode2, kMode3, kMode4 };
inline constexpr std::array<std::string_view, 4> kMaxiCodeModeNames = {"Mode 0", "Mode 2",
                                                                       "Mode 3", "Mode 4"};
// The data each MaxiCode mode starts with, in mode order.
inline constexpr std::array<std::string_view, 4> kMaxiCodeSamples = {
    "999,840,06810,7317,THIS IS A TEST OF MODE 0 STRUCTURED CARRIER MESSAGE ENCODING. THIS IS "
    "AN 84 CHAR MSG",
    "999,840,06810,7317,THIS IS A TEST OF VORMAND LABEL PRINTER LRX500.MODE 2 ENCODING.THIS IS "
    "AN 84 CHAR.",
    "999,840,06810,7317,THIS IS A TEST OF VORMAND LABEL PRINTER LRX500.MODE 3 ENCODING.THIS IS "
    "AN 84 CHAR.",
    "THIS IS A 93 CHARACTER CODE SET A MESSAGE THAT FILLS A MODE 4,UNAPPENDED,MAXICODE "
    "SYMBOL..."};
inline constexpr std::string_view kPdf417Sample = "VORMAND Label Printer, This is Test Printing.";
inline constexpr std::string_view kQrCodeSample = "ABCDEFGHIJKLMN1234567890";

enum class QrModel { kModel1, kModel2 };
inline constexpr std::array<std::string_view, 2> kQrModelNames = {"Model 1", "Model 2"};
enum class QrErrorCorrection { kL, kM, kQ, kH };
inline constexpr std::array<std::string_view, 4> kQrErrorCorrectionNames = {"L", "M", "Q", "H"};
// PDF417 levels are "0" to "8"; the command carries the position, which equals the level.
inline constexpr int kPdf417LevelCount = 9;
inline constexpr std::array<std::string_view, 3> kPdf417CompressNames = {"Text", "Numeric",
                                                                         "Binary"};
inline constexpr std::array<std::string_view, 2> kPdf417OriginNames = {"Upper Left", "Center"};

inline constexpr FieldRange kMaxRowRange{"Max Row", 3, 90};
inline constexpr FieldRange kMaxColRange{"Max Col", 1, 30};
inline constexpr FieldRange kModuleWidthRange{"Module W", 2, 9};
inline constexpr FieldRange kPdf417BarHeightRange{"Bar Height", 4, 99};
inline constexpr FieldRange kQrBarSizeRange{"Bar Size", 1, 4};

// The 2D builder's fields. Each symbology reads only its own: MaxiCode the mode; PDF417
// everything but the mode and the QR fields; QR Code the model, its error correction, the
// size and the rotation.
struct Barcode2DFields {
  Barcode2DType type = Barcode2DType::kMaxiCode;
  double startX = 100;
  double startY = 100;
  MaxiCodeMode maxiCodeMode = MaxiCodeMode::kMode0;
  QrModel qrModel = QrModel::kModel1;
  int maxRow = 30;
  int maxCol = 5;
  int pdf417Level = 0;
  QrErrorCorrection qrErrorCorrection = QrErrorCorrection::kL;
  int compress = 0;  // position in kPdf417CompressNames
  bool hri = true;
  int origin = 1;  // position in kPdf417OriginNames
  int moduleWidth = 3;
  int barSize = 10;  // "Bar Height" for PDF417, "Bar Size" for QR Code
  int rotation = 0;  // position in kRotationNames
  std::string data{kMaxiCodeSamples[0]};
};

// Choosing another symbology loads its defaults and its sample data; rows, columns,
// compression, HRI, origin and module width stay. Choosing the current one changes nothing.
void SelectBarcode2DType(Barcode2DFields& fields, Barcode2DType type);
// A MaxiCode mode brings its own sample data.
void SelectMaxiCodeMode(Barcode2DFields& fields, MaxiCodeMode mode);

// "B2" + X + "," + Y + "," + the symbology's part + ",'" + data + "'".
std::string BuildBarcode2DLine(const Barcode2DFields& fields);

}  // namespace qm
