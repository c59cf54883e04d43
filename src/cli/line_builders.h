// The builders behind `line`: each one's subcommand, its dialog fields as options, the
// lines it makes and its test print. The builders in src/commands make every byte.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/builder_options.h"
#include "commands/barcode_commands.h"
#include "commands/layout_commands.h"
#include "commands/text_commands.h"

namespace qm::cli {

struct LineBuilder {
  CLI::App* app = nullptr;
  FieldOptions options;
  bool testPrint = false;
  // Checks what the options alone cannot, once they are in; an error text or empty.
  std::function<std::string()> check;
  std::function<std::vector<std::string>()> lines;
  // Null for a builder that has no test print.
  std::function<std::string()> testPrintBytes;
};

// The builders' value structs, each starting as its dialog does.
struct LineFields {
  BitmapTextFields text;
  VectorTextFields vector;
  Barcode1DFields barcode;
  Barcode2DFields barcode2d;
  BlockDrawFields block;
  LabelSettingFields labelSetting;
  PrintingSettingFields printSetting;
  // The check boxes that the command line clears with a --no-... flag.
  bool noWidth = false, noLength = false, noMargin = false;
  bool noSpeed = false, noDensity = false, noDirection = false;
};

// Adds the seven builders to `line`, in the order --help lists them.
std::vector<std::unique_ptr<LineBuilder>> AddLineBuilders(CLI::App& line, LineFields& fields);

}  // namespace qm::cli
