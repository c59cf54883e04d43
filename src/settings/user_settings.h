// Printer information and the print and page settings, one operation per button.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "core/clock.h"
#include "core/progress.h"
#include "core/prompter.h"

namespace qm {

class PrinterLink;

// The four queries of the printer information, in the order they are asked.
enum class InfoQuery { kModelName, kModelType, kFirmwareVersion, kTemperature };
// "model name", "model type", "firmware version" or "temperature", for messages.
std::string_view Noun(InfoQuery query);

struct PrinterInformation {
  bool ok = false;  // the temperature query was answered
  std::string modelName;        // exactly as received
  std::string modelType;
  std::string firmwareVersion;
  std::string temperature;      // "31 Celsius"
  // The query whose write or read the port failed, after which none was sent.
  std::optional<InfoQuery> failedQuery;
  // The queries that were sent and got no reply, in order.
  std::vector<InfoQuery> unanswered;
};

// Asks model name, type, firmware and head temperature in turn, and stops at a query whose
// write or read the port fails, or at Cancel. `progress` hears 0 of 3 before the first query
// and one more after each of the first three, for a progress bar.
PrinterInformation GetPrinterInformation(PrinterLink& link, Clock& clock, Prompter& prompter,
                                         Progress* progress = nullptr);

// The numbered items set with "^MBU" and asked with "^PI4"/"^PI5".
enum class NumericItem { kPaperWidth, kPaperLength, kGapLength, kHorizontalMargin, kVerticalMargin, kDensity };
struct NumericItemSpec {
  std::string_view setPrefix;  // "^MBU0,"
  std::string_view query;      // "^PI5,0\r\n"
  std::string_view noun;       // "paper width", for the messages
  bool ranged;
  int minimum;
  int maximum;
};
const NumericItemSpec& SpecOf(NumericItem item);

// The field text for the item ("0" for an empty reply); nullopt when nothing came.
std::optional<std::string> GetNumericItem(PrinterLink& link, Clock& clock, Prompter& prompter, NumericItem item);
// Sends the value; true when the write succeeded. Range checks are the caller's.
bool SetNumericItem(PrinterLink& link, Prompter& prompter, NumericItem item, int value);

// Switch-backed items: print strobe, print speed, gap detect position. `index` is the
// list index, nullopt for no selection.
struct ChoiceRead {
  bool ok = false;
  std::optional<int> index;
};
// A Set reads the switch first and keeps what the other item stored there; when no byte
// comes it writes the item alone and says so after its own message.
ChoiceRead GetStrobe(PrinterLink& link, Clock& clock, Prompter& prompter);
bool SetStrobe(PrinterLink& link, Clock& clock, Prompter& prompter, std::optional<int> index);
ChoiceRead GetSpeed(PrinterLink& link, Clock& clock, Prompter& prompter);
bool SetSpeed(PrinterLink& link, Clock& clock, Prompter& prompter, std::optional<int> index);
ChoiceRead GetGapPosition(PrinterLink& link, Clock& clock, Prompter& prompter);
bool SetGapPosition(PrinterLink& link, Clock& clock, Prompter& prompter, std::optional<int> index);

// Print offset ("SA") and tear-off/cutting position ("TA"): a sign and up to three digits.
enum class SignedItem { kOffset, kTearOff };
struct SignedValue {
  bool negative = false;
  int value = 0;
  bool operator==(const SignedValue&) const = default;
};
// A sign character and three digits, as the printer answers; nullopt for anything else.
std::optional<SignedValue> ParseSignedReply(std::string_view reply);
std::optional<SignedValue> GetSignedItem(PrinterLink& link, Clock& clock, Prompter& prompter, SignedItem item);
// Sends the prefix, "-" or "+", the field's text as shown, CR LF.
bool SetSignedItem(PrinterLink& link, Prompter& prompter, SignedItem item, bool negative,
                   const std::string& fieldText);

// "^MBL0" or "^MBL1"; shows nothing.
int SetCheckLabelLength(PrinterLink& link, bool enable);
// Resets every user setting of the printer.
bool InitializeUserSettings(PrinterLink& link, Prompter& prompter);

}  // namespace qm
