// The printer itself: its state, and what it does with each command it is given.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_types.h"
#include "printer/command_parser.h"
#include "printer/label.h"
#include "printer/printer_state.h"

namespace qm::printer {

// Origin of a command that came from inside the process rather than over a port: every
// interface code is accepted from it.
inline constexpr InterfaceKind kAnyInterface = -1;

// What one command did.
struct Outcome {
  std::optional<std::string> reply;  // bytes to send back on the command's own interface
  std::string note;                  // why the command was refused or ignored, for the log
  bool storedChanged = false;        // the non-volatile state changed and wants saving
  std::optional<PrintedLabel> printed;
};

class PrinterModel {
 public:
  static constexpr size_t kMaxLabelCommands = 10000;
  static constexpr size_t kMaxLabelBytes = 8u * 1024 * 1024;
  // Images a label recalls stay alive with it, even when the store replaces them.
  static constexpr size_t kMaxLabelImageBytes = 48u * 1024 * 1024;
  static constexpr size_t kImageStoreBytes = 32u * 1024 * 1024;

  explicit PrinterModel(StoredState stored = FactoryState(1));

  // Carries out one command that arrived over `origin`.
  Outcome Handle(Command command, InterfaceKind origin);
  // Records that the stream held something that was not a command.
  void NoteSyntaxError() { volatile_.lastError = "01"; }

  const StoredState& stored() const { return stored_; }
  const VolatileState& volatileState() const { return volatile_; }
  const Faults& faults() const { return faults_; }
  void SetFaults(Faults faults) { faults_ = std::move(faults); }
  // Names and sizes of the stored images.
  std::map<std::string, size_t> Images() const;
  std::shared_ptr<const std::string> Image(const std::string& name) const;
  // Label commands received since the last print.
  const std::vector<LabelCommand>& PendingLabel() const { return pending_; }
  uint64_t labelsPrinted() const { return sequence_; }

 private:
  // Settings, switches, identification, calibration and status (model_settings.cpp).
  bool HandleSettings(std::string_view text, InterfaceKind origin, Outcome& out);
  void QueryInfo(std::string_view text, Outcome& out);
  void ReadSwitch(std::string_view text, InterfaceKind origin, Outcome& out);
  void WriteSwitch(std::string_view text, Outcome& out);
  void SetUserSetting(std::string_view text, Outcome& out);
  void SetIdentification(std::string_view text, Outcome& out);
  void SetShift(std::string_view text, int& target, Outcome& out);
  void Calibrate(std::string_view text, Outcome& out);
  void Status(std::string_view text, Outcome& out);
  std::string ErrorCode();

  // RFID encoder and tag (model_rfid.cpp).
  void HandleRfid(std::string_view text, Outcome& out);
  void RfidConfigure(std::string_view text, Outcome& out);
  void RfidWrite(std::string_view text, Outcome& out);
  void RfidRead(std::string_view text, Outcome& out);
  void RfidProtect(std::string_view text, Outcome& out);

  // Labels and images (printer_model.cpp).
  void HandleLabelCommand(std::string text, Outcome& out);
  bool ApplySetting(const LabelCommand& cmd, Outcome& out);
  void Print(int quantity, int copies, Outcome& out);
  void PrintExtra(LabelKind kind, std::vector<LabelCommand> commands, Outcome& out);
  bool MayPrint(Outcome& out);
  void StoreImage(Command& command, Outcome& out);
  void DeleteImage(std::string_view text, Outcome& out);
  void ListImages(Outcome& out);
  void Refuse(Outcome& out, std::string note, std::string_view errorCode = "01");

  StoredState stored_;
  VolatileState volatile_;
  Faults faults_;
  std::vector<LabelCommand> pending_;
  std::vector<MediaSettings> pendingSettings_;  // each change while the label is built
  size_t pendingBytes_ = 0;
  size_t pendingImageBytes_ = 0;
  uint64_t sequence_ = 0;
  std::map<std::string, std::shared_ptr<const std::string>> images_;
  size_t imageBytes_ = 0;
  // A tag write in the label being built: counted valid or void when the label prints.
  enum class TagWrite { kNone, kWritten, kFailed } tagWrite_ = TagWrite::kNone;
};

// Helpers shared by the model's files.
bool ParseNumber(std::string_view text, int& value);
std::vector<std::string_view> SplitCommas(std::string_view text);
// A signed shift as the printer reports it: sign and three digits, "+045" or "-012".
std::string SignedThreeDigits(int value);

}  // namespace qm::printer
