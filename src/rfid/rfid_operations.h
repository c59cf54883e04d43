// The RFID tools' actions over the link: encoder settings, tag writes and reads, passwords.
#pragma once

#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/prompter.h"
#include "rfid/rfid_commands.h"

namespace qm {

class PrinterLink;

// The wait after each settings query before its reply is read.
inline constexpr int kRfidQueryWaitMs = 100;

// "Get": the seven queries, each reply parsed into `settings` whatever the outcome; true
// when the last one was answered.
bool GetRfidSettings(PrinterLink& link, Clock& clock, Prompter& prompter, RfidSettings& settings);
// "Set": the settings and the transponder position in one write.
bool SetRfidSettings(PrinterLink& link, Prompter& prompter, const RfidSettings& settings);
// "Reset": zeroes the counters; on success both counters of `settings` read "0".
bool ResetRfidCounters(PrinterLink& link, Prompter& prompter, RfidSettings& settings);
// "Auto Calibration".
bool CalibrateRfid(PrinterLink& link, Prompter& prompter);

// Whether both passwords are 8 characters without their dots; tells which is not.
bool CheckPasswords(Prompter& prompter, std::string_view access, std::string_view kill);
// The new access and kill passwords (dots allowed); refused unless each is 8 characters
// without its dots.
bool SendRfidPasswords(PrinterLink& link, Prompter& prompter, std::string_view access, std::string_view kill);

struct TagWriteRequest {
  bool unlock = false;
  bool data = false;
  bool lock = false;
  TagRange range;
  std::string cells;  // the data of the range, concatenated
  LockPayload payload;
};
struct TagWriteResult {
  bool ok = false;          // the last command sent went through
  bool dataFailed = false;  // the data write was sent and failed
  bool anyFailed = false;   // some command of the sequence did not go out
};
// "Write": unlock, data, lock and, for a label, the print, as the request says; each
// failure is told and the later steps still run.
TagWriteResult WriteTag(PrinterLink& link, Prompter& prompter, const TagWriteRequest& request);

// How long a tag read may take: the printer needs up to this long to reach the tag, and
// USB replies come in 16-byte pieces with a pause after each full one.
struct TagReadTiming {
  int replyDeadlineMs = 4000;
  int usbPiecePauseMs = 200;
};
enum class TagReadStatus { kRefused, kNoReply, kIncomplete, kComplete };
struct TagReadResult {
  TagReadStatus status = TagReadStatus::kRefused;
  std::string chars;  // what came, at most the expected number of characters
  int expected = 0;
};
// "Read": checks the range, sends the read and takes the reply as soon as the expected
// characters are in, reading on while they come; when the link's wait ends with nothing,
// the rest of the reply deadline is slept through the clock and the read tried once more.
TagReadResult ReadTag(PrinterLink& link, Clock& clock, Prompter& prompter, const TagRange& range,
                      TagReadTiming timing = {});
// "Print": the printed form of the read; nothing is read back.
bool PrintTag(PrinterLink& link, const TagRange& range);

inline constexpr std::string_view kInvalidRange = "Invalid value!\nPlease check StartBlockNumber and Number of bytes.";

}  // namespace qm
