#include "cli/line_builders.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cctype>
#include <utility>

#include "cli/escape.h"

namespace qm::cli {

namespace {

// Refuses an option that the chosen type leaves disabled in the dialog; empty when usable.
using Guard = std::function<std::string()>;

std::string Option(const std::string& name) { return "--" + name; }

FieldSetter Guarded(Guard guard, FieldSetter set) {
  if (!guard) return set;
  return [guard = std::move(guard), set = std::move(set)](const std::string& text) {
    if (std::string refused = guard(); !refused.empty()) return refused;
    return set(text);
  };
}

// `usedBy` names the types that use a field the others leave disabled.
void Integer(LineBuilder& b, const std::string& name, const FieldRange& range, int& field, Guard guard = {},
             std::string_view usedBy = {}) {
  std::string label(range.label);
  if (!usedBy.empty()) label += " (" + std::string(usedBy) + ")";
  b.options.Add(*b.app, name, "N", FieldHelp(label, RangeText(range), std::to_string(field)),
                Guarded(std::move(guard), [name, range, &field](const std::string& text) {
                  return TakeInteger(Option(name), text, range, field);
                }));
}

// A position in dots, typed as a real and written truncated toward zero.
void Coordinate(LineBuilder& b, const std::string& name, std::string_view label, double& field,
                int maximum = kTypedMaximum) {
  const FieldRange range{label, 0, maximum};
  b.options.Add(*b.app, name, "DOTS", FieldHelp(label, RangeText(range) + ", truncated to whole dots", RealText(field)),
                [name, range, &field](const std::string& text) { return TakeReal(Option(name), text, range, field); });
}

// A list; the field holds the chosen entry's position (an int, an enum or a two-entry bool).
template <typename Field>
void Choice(LineBuilder& b, const std::string& name, std::string_view label, EntryList entries, Field& field,
            bool positions = false, Guard guard = {}) {
  std::string accepts = ChoiceText(entries);
  if (positions) accepts += " or 0.." + std::to_string(entries.size() - 1);
  b.options.Add(*b.app, name, "NAME", FieldHelp(label, accepts, entries[static_cast<size_t>(field)]),
                Guarded(std::move(guard), [name, entries, positions, &field](const std::string& text) {
                  int position = 0;
                  std::string error = TakeChoice(Option(name), text, entries, position, positions);
                  if (error.empty()) field = static_cast<Field>(position);
                  return error;
                }));
}

// Text as typed, in the printer's code page as the dialog sends it; bytes for any other
// code page (a two-byte font) through the escapes.
void Data(LineBuilder& b, std::string& field, std::string_view first) {
  CLI::Option* text = b.options.Add(
      *b.app, "data", "TEXT",
      FieldHelp("the data between the quotes", "text, sent in the printer's code page (Latin-1) as the dialog sends it", first),
      [&field](const std::string& typed) { return TakeLatin1("--data", typed, field); });
  CLI::Option* bytes = b.options.Add(
      *b.app, "data-bytes", "BYTES",
      "the data between the quotes as bytes, sent as given, with the escapes \\r \\n \\t \\\\ and \\xNN",
      [&field](const std::string& escaped) {
        Unescaped parsed = ParseEscapes(escaped);
        if (!parsed.ok) return "--data-bytes: " + parsed.error;
        field = std::move(parsed.bytes);
        return std::string();
      });
  text->excludes(bytes);
}

LineBuilder& NewBuilder(std::vector<std::unique_ptr<LineBuilder>>& all, CLI::App& line, const std::string& name,
                        const std::string& title, bool hasTestPrint) {
  auto builder = std::make_unique<LineBuilder>();
  builder->app = line.add_subcommand(name, title);
  if (hasTestPrint) {
    builder->app->add_flag("--test-print", builder->testPrint,
                           "send the builder's one-label test print instead of printing the line");
  }
  all.push_back(std::move(builder));
  return *all.back();
}

constexpr std::array<std::string_view, 2> kReverseLetters = {"N", "R"};
constexpr std::array<std::string_view, 2> kBoldLetters = {"N", "B"};
constexpr std::array<std::string_view, 2> kVectorBold = {"None", "Bold"};
constexpr std::array<std::string_view, 2> kVectorReverse = {"None", "Reverse"};
constexpr std::array<std::string_view, 2> kVectorItalic = {"None", "Italic"};

void AddBitmapText(LineBuilder& b, BitmapTextFields& f) {
  // The only positions the dialog checks, against what the printer takes.
  Coordinate(b, "x", "X Pos", f.xPos, kBitmapXPosRange.maximum);
  Coordinate(b, "y", "Y Pos", f.yPos, kBitmapYPosRange.maximum);
  b.options.Add(*b.app, "font", "NAME", FieldHelp("Font", "0..9|a..f", std::string(1, f.font)),
                [&f](const std::string& text) { return TakeLetter("--font", text, kBitmapTextFonts, f.font); });
  Integer(b, "h-multi", kBitmapHMultiRange, f.hMulti);
  Integer(b, "v-multi", kBitmapVMultiRange, f.vMulti);
  Integer(b, "space-r", kBitmapSpaceRange, f.spaceR);
  Choice(b, "rotation", "Rotation", kRotationNames, f.rotation);
  Choice(b, "reverse", "Reverse", kReverseLetters, f.reverse);
  Choice(b, "bold", "Bold", kBoldLetters, f.bold);
  Data(b, f.data, kSampleText);
  b.lines = [&f] { return std::vector<std::string>{BuildBitmapTextLine(f)}; };
  b.testPrintBytes = [&f] { return TestPrintBytes(BuildBitmapTextLine(f)); };
}

void AddVectorText(LineBuilder& b, VectorTextFields& f) {
  Coordinate(b, "x", "X Pos", f.xPos);
  Coordinate(b, "y", "Y Pos", f.yPos);
  Integer(b, "width", kVectorWidthRange, f.width);
  Integer(b, "height", kVectorHeightRange, f.height);
  Integer(b, "font-space", kVectorFontSpaceRange, f.fontSpace);
  Choice(b, "bold", "Bold", kVectorBold, f.bold);
  Choice(b, "reverse", "Reverse", kVectorReverse, f.reverse);
  Choice(b, "italic", "Italic", kVectorItalic, f.italic);
  Choice(b, "rotation", "Rotation", kRotationNames, f.rotation);
  Choice(b, "justification", "Justification", kJustificationNames, f.justification);
  Choice(b, "text-direction", "Text Direction", kTextDirectionNames, f.textDirection);
  Data(b, f.data, kSampleText);
  b.lines = [&f] { return std::vector<std::string>{BuildVectorTextLine(f)}; };
  b.testPrintBytes = [&f] { return TestPrintBytes(BuildVectorTextLine(f)); };
}

void AddBarcode1D(LineBuilder& b, Barcode1DFields& f) {
  Coordinate(b, "x", "X pos", f.xPos);
  Coordinate(b, "y", "Y pos", f.yPos);
  Choice(b, "barcode", "Barcode", kBarcode1DTypes, f.barcode, true);
  Integer(b, "n-bar", kNarrowBarRange, f.narrowBarWidth);
  Integer(b, "w-bar", kWideBarRange, f.wideBarWidth);
  Integer(b, "height", kBarcodeHeightRange, f.height);
  Choice(b, "rotation", "Rotation", kRotationNames, f.rotation);
  Choice(b, "hri", "HRI", kHriNames, f.hri);
  b.options.Add(*b.app, "q-zone", "N",
                FieldHelp("Q-Zone", RangeText(kQuietZoneRange) + ", adds the quiet zone field",
                          "none; the dialog's field holds " + std::to_string(f.quietZoneWidth)),
                [&f](const std::string& text) {
                  f.quietZone = true;
                  return TakeInteger("--q-zone", text, kQuietZoneRange, f.quietZoneWidth);
                });
  Data(b, f.data, f.data);
  b.lines = [&f] { return std::vector<std::string>{BuildBarcode1DLine(f)}; };
  b.testPrintBytes = [&f] { return TestPrintBytes(BuildBarcode1DLine(f)); };
}

void AddBarcode2D(LineBuilder& b, Barcode2DFields& f) {
  b.options.Add(*b.app, "type", "NAME",
                FieldHelp("2D Barcode Type", ChoiceText(kBarcode2DTypeNames), kBarcode2DTypeNames[0]) +
                    "; it loads its own defaults and sample data first",
                [&f](const std::string& text) {
                  int type = 0;
                  std::string error = TakeChoice("--type", text, kBarcode2DTypeNames, type);
                  if (error.empty()) SelectBarcode2DType(f, static_cast<Barcode2DType>(type));
                  return error;
                });
  const auto only = [&f](std::string option, std::vector<Barcode2DType> types) -> Guard {
    return [&f, option, types] {
      for (Barcode2DType type : types) {
        if (f.type == type) return std::string();
      }
      std::string names;
      for (Barcode2DType type : types) {
        names += (names.empty() ? "" : " and ") + std::string(kBarcode2DTypeNames[static_cast<size_t>(type)]);
      }
      return "--" + option + ": for " + names + " only, not " +
             std::string(kBarcode2DTypeNames[static_cast<size_t>(f.type)]);
    };
  };
  using T = Barcode2DType;

  Coordinate(b, "start-x", "Start X", f.startX);
  Coordinate(b, "start-y", "Start Y", f.startY);
  b.options.Add(*b.app, "mode", "N", FieldHelp("Mode (Maxicode)", "0|2|3|4, each with its own sample data", "0"),
                Guarded(only("mode", {T::kMaxiCode}), [&f](const std::string& text) {
                  int mode = 0;
                  if (!TakeChoice("--mode", text, kMaxiCodeModeNames, mode).empty()) {
                    std::string error = TakeChoice("--mode", "Mode " + text, kMaxiCodeModeNames, mode);
                    if (!error.empty()) return "--mode: \"" + text + "\" is none of 0|2|3|4";
                  }
                  SelectMaxiCodeMode(f, static_cast<MaxiCodeMode>(mode));
                  return std::string();
                }));
  b.options.Add(*b.app, "model", "N", FieldHelp("Model (QR Code)", "1|2", "1"),
                Guarded(only("model", {T::kQrCode}), [&f](const std::string& text) {
                  int model = 0;
                  if (!TakeChoice("--model", text, kQrModelNames, model).empty() &&
                      !TakeChoice("--model", "Model " + text, kQrModelNames, model).empty()) {
                    return "--model: \"" + text + "\" is none of 1|2";
                  }
                  f.qrModel = static_cast<QrModel>(model);
                  return std::string();
                }));
  Integer(b, "max-row", kMaxRowRange, f.maxRow, only("max-row", {T::kPdf417}), "PDF417");
  Integer(b, "max-col", kMaxColRange, f.maxCol, only("max-col", {T::kPdf417}), "PDF417");
  Integer(b, "ecl", FieldRange{"ECL (PDF417)", 0, kPdf417LevelCount - 1}, f.pdf417Level, only("ecl", {T::kPdf417}));
  Choice(b, "ecc", "ECC (QR Code)", kQrErrorCorrectionNames, f.qrErrorCorrection, false, only("ecc", {T::kQrCode}));
  Choice(b, "compress", "Compress (PDF417)", kPdf417CompressNames, f.compress, false, only("compress", {T::kPdf417}));
  Choice(b, "hri", "HRI (PDF417)", kHriNames, f.hri, false, only("hri", {T::kPdf417}));
  Choice(b, "origin", "Origin (PDF417)", kPdf417OriginNames, f.origin, false, only("origin", {T::kPdf417}));
  Integer(b, "module-w", kModuleWidthRange, f.moduleWidth, only("module-w", {T::kPdf417}), "PDF417");
  Integer(b, "bar-height", kPdf417BarHeightRange, f.barSize, only("bar-height", {T::kPdf417}), "PDF417");
  b.options.Add(*b.app, "bar-size", "N", FieldHelp("Bar Size (QR Code)", RangeText(kQrBarSizeRange), "4"),
                Guarded(only("bar-size", {T::kQrCode}), [&f](const std::string& text) {
                  return TakeInteger("--bar-size", text, kQrBarSizeRange, f.barSize);
                }));
  Choice(b, "rotation", "Rotation (PDF417, QR Code)", kRotationNames, f.rotation, false,
         only("rotation", {T::kPdf417, T::kQrCode}));
  Data(b, f.data, "the sample of the type and mode");
  b.lines = [&f] { return std::vector<std::string>{BuildBarcode2DLine(f)}; };
  b.testPrintBytes = [&f] { return TestPrintBytes(BuildBarcode2DLine(f)); };
}

void AddBlockDraw(LineBuilder& b, BlockDrawFields& f) {
  b.options.Add(*b.app, "type", "NAME",
                FieldHelp("Type", ChoiceText(kBlockTypeNames), "O") +
                    "; S sets Optional 10 and End Y 300 first, the others Optional 20 and End Y 120",
                [&f](const std::string& text) {
                  int type = 0;
                  std::string error = TakeChoice("--type", text, kBlockTypeNames, type);
                  if (error.empty()) SelectBlockType(f, static_cast<BlockType>(type));
                  return error;
                });
  Coordinate(b, "start-x", "Start X", f.startX);
  Coordinate(b, "start-y", "Start Y", f.startY);
  Coordinate(b, "end-x", "End X", f.endX);
  Coordinate(b, "end-y", "End Y", f.endY);
  Integer(b, "optional", FieldRange{"Optional (types S and B)", 0, 1000}, f.optional, [&f] {
    return TakesOptional(f.type) ? std::string()
                                 : "--optional: for types S and B only, not " +
                                       std::string(kBlockTypeNames[static_cast<size_t>(f.type)]);
  });
  b.lines = [&f] { return std::vector<std::string>{BuildBlockDrawLine(f)}; };
  b.testPrintBytes = [&f] { return TestPrintBytes(BuildBlockDrawLine(f)); };
}

void AddLength(LineBuilder& b, const std::string& name, std::string_view label, float& field) {
  const FieldRange range{label, 0, kTypedMaximum};
  b.options.Add(*b.app, name, "LENGTH", FieldHelp(label, RangeText(range) + " in the unit", RealText(field) + " inch"),
                [name, range, &field](const std::string& text) {
                  double value = 0;
                  std::string error = TakeReal(Option(name), text, range, value);
                  if (error.empty()) field = static_cast<float>(value);
                  return error;
                });
}

void AddLabelSetting(LineBuilder& b, LineFields& all) {
  LabelSettingFields& f = all.labelSetting;
  b.options.Add(*b.app, "unit", "NAME",
                FieldHelp("Unit Setting", ChoiceText(kLengthUnitNames), "inch") +
                    "; the defaults are converted to it first, as the dialog does",
                [&f](const std::string& text) {
                  int unit = 0;
                  std::string error = TakeChoice("--unit", text, kLengthUnitNames, unit);
                  if (error.empty()) ChangeLabelUnit(f, static_cast<LengthUnit>(unit));
                  return error;
                });
  Choice(b, "media", "Media Type", kMediaTypeNames, f.media);
  AddLength(b, "width", "Width", f.width);
  AddLength(b, "length", "Length", f.length);
  AddLength(b, "x-margin", "X Margin", f.xMargin);
  AddLength(b, "y-margin", "Y Margin", f.yMargin);
  CLI::App& app = *b.app;
  app.add_flag("--no-width", all.noWidth, "uncheck Width: no SW line")->excludes("--width");
  app.add_flag("--no-length", all.noLength, "uncheck Length: no SL line")->excludes("--length");
  app.add_flag("--no-margin", all.noMargin, "uncheck the margins' Apply: no SM line")
      ->excludes("--x-margin")
      ->excludes("--y-margin");
  b.check = [&all] {
    all.labelSetting.widthApply = !all.noWidth;
    all.labelSetting.lengthApply = !all.noLength;
    all.labelSetting.marginApply = !all.noMargin;
    return std::string();
  };
  b.lines = [&f] { return BuildLabelSettingLines(f); };
}

// "5.0 ips", "5.0", "5" or "5ips": the speed whose number it is.
std::string TakeSpeed(const std::string& text, PrintSpeed& speed) {
  std::string number = text;
  while (!number.empty() && number.back() == ' ') number.pop_back();
  if (number.size() >= 3) {
    std::string unit = number.substr(number.size() - 3);
    for (char& c : unit) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (unit == "ips") number.resize(number.size() - 3);
  }
  while (!number.empty() && number.back() == ' ') number.pop_back();
  double wanted = 0;
  if (TakeReal("--speed", number, FieldRange{"", 0, 10}, wanted).empty()) {
    for (size_t i = 0; i < kPrintSpeedNames.size(); ++i) {
      double listed = 0;
      TakeReal("", kPrintSpeedNames[i].substr(0, 3), FieldRange{"", 0, 10}, listed);
      if (listed == wanted) {
        speed = static_cast<PrintSpeed>(i);
        return {};
      }
    }
  }
  return "--speed: \"" + text + "\" is none of " + ChoiceText(kPrintSpeedNames);
}

void AddPrintSetting(LineBuilder& b, LineFields& all) {
  PrintingSettingFields& f = all.printSetting;
  b.options.Add(*b.app, "speed", "IPS", FieldHelp("Speed", "2.5|3.0|4.0|5.0|6.0 ips", "5.0 ips"),
                [&f](const std::string& text) { return TakeSpeed(text, f.speed); });
  Integer(b, "density", kDensityRange, f.density);
  Choice(b, "direction", "Direction", kPrintDirectionNames, f.direction);
  CLI::App& app = *b.app;
  app.add_flag("--no-speed", all.noSpeed, "uncheck the speed's Apply: no SS line")->excludes("--speed");
  app.add_flag("--no-density", all.noDensity, "uncheck the density's Apply: no SD line")->excludes("--density");
  app.add_flag("--no-direction", all.noDirection, "uncheck the direction's Apply: no SOT or SOB line")
      ->excludes("--direction");
  b.check = [&all] {
    all.printSetting.speedApply = !all.noSpeed;
    all.printSetting.densityApply = !all.noDensity;
    all.printSetting.directionApply = !all.noDirection;
    return std::string();
  };
  b.lines = [&f] { return BuildPrintingSettingLines(f); };
  b.testPrintBytes = [&f] { return BuildPrinterSettingTest(f); };
}

}  // namespace

std::vector<std::unique_ptr<LineBuilder>> AddLineBuilders(CLI::App& line, LineFields& fields) {
  std::vector<std::unique_ptr<LineBuilder>> all;
  AddBitmapText(NewBuilder(all, line, "text", "Bitmap Text: the T line", true), fields.text);
  AddVectorText(NewBuilder(all, line, "vector", "Vector Text: the V line", true), fields.vector);
  AddBarcode1D(NewBuilder(all, line, "barcode", "1D Barcode: the B1 line", true), fields.barcode);
  AddBarcode2D(NewBuilder(all, line, "barcode2d", "2D Barcode: the B2 line", true), fields.barcode2d);
  AddBlockDraw(NewBuilder(all, line, "block", "Line & Box: the BD line", true), fields.block);
  AddLabelSetting(NewBuilder(all, line, "label-setting",
                             "Margin & Width & Length: the SW, SL and SM lines (no test print)", false),
                  fields);
  AddPrintSetting(NewBuilder(all, line, "print-setting",
                             "Speed & Density & Direction: the SS, SD and SOT/SOB lines; its test print is "
                             "the Printer Setting Test label",
                             true),
                  fields);
  return all;
}

}  // namespace qm::cli
