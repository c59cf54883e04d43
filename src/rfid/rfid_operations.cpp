#include "rfid/rfid_operations.h"

#include <algorithm>
#include <cstring>

#include "link/printer_link.h"
#include "link/query.h"
#include "core/tool_texts.h"

namespace qm {

namespace {

bool Send(PrinterLink& link, std::string_view bytes) { return link.Write(bytes) != 0; }

constexpr int kUsbPiece = 16;

}  // namespace

bool GetRfidSettings(PrinterLink& link, Clock& clock, Prompter& prompter, RfidSettings& settings) {
  int last = 0;
  for (int n = 1; n <= kRfidQueries; ++n) {
    // Cancel ends the wait under way; no further query goes out.
    if (clock.Cancelled()) break;
    // The reply may end in CR LF, a lone CR or nothing: whole at CR LF, else a quiet line
    // ends it.
    const std::string reply = QueryText(link, clock, BuildRfidQuery(n), kRfidQueryWaitMs, kRfidReplyBytes, ReplyEnd::kText);
    last = static_cast<int>(reply.size());
    // Read as the text it is: up to a zero byte, as the tool's buffer held it.
    ApplyRfidReply(n, std::string_view(reply.data(), std::strlen(reply.c_str())), settings);
  }
  return Report(prompter, last > 0, "Get RFID setting is successful", texts::kGetRfidSettingFailed);
}

bool SetRfidSettings(PrinterLink& link, Prompter& prompter, const RfidSettings& settings) {
  return Report(prompter, Send(link, BuildRfidSet(settings)), "Set RFID setting is successful",
                texts::kSetRfidSettingFailed);
}

bool ResetRfidCounters(PrinterLink& link, Prompter& prompter, RfidSettings& settings) {
  const bool ok = Send(link, kRfidResetCounters);
  if (ok) {
    settings.validCounter = "0";
    settings.voidCounter = "0";
  }
  // The printer's own tool reports the reset with the calibration's texts.
  return Report(prompter, ok, "Auto calibration is successful", texts::kAutoCalibrationFailed);
}

bool CalibrateRfid(PrinterLink& link, Prompter& prompter) {
  return Report(prompter, Send(link, kRfidCalibrate), "Auto calibration is successful", texts::kAutoCalibrationFailed);
}

bool CheckPasswords(Prompter& prompter, std::string_view access, std::string_view kill) {
  if (StripDots(access).size() != 8) {
    Tell(prompter, "Value of access is invalid!", Icon::kExclamation);
    return false;
  }
  if (StripDots(kill).size() != 8) {
    Tell(prompter, "Value of kill is invalid!", Icon::kExclamation);
    return false;
  }
  return true;
}

bool SendRfidPasswords(PrinterLink& link, Prompter& prompter, std::string_view access, std::string_view kill) {
  if (!CheckPasswords(prompter, access, kill)) return false;
  return Report(prompter, Send(link, BuildPasswordCommand(StripDots(access), StripDots(kill))),
                "Set RFID setting is successful", texts::kSetRfidSettingFailed);
}

TagWriteResult WriteTag(PrinterLink& link, Prompter& prompter, const TagWriteRequest& request) {
  TagWriteResult result;
  if (request.unlock) {
    result.ok = Send(link, kRfidUnlock);
    result.anyFailed = !result.ok;
    if (!result.ok) Tell(prompter, "Writing unlock-command is failed", Icon::kExclamation);
  }
  if (request.data) {
    result.ok = Send(link, BuildTagWrite(request.range, request.cells));
    result.dataFailed = !result.ok;
    result.anyFailed = result.anyFailed || !result.ok;
    if (!result.ok) Tell(prompter, "Writing data is failed", Icon::kExclamation);
  }
  if (request.lock) {
    result.ok = Send(link, BuildLockCommand(request.payload, false));
    result.anyFailed = result.anyFailed || !result.ok;
    if (!result.ok) Tell(prompter, "Writing lock-command is failed", Icon::kExclamation);
  }
  // The label form is processed when its label is printed.
  if ((request.unlock || request.data || request.lock) && request.range.carrier == TagCarrier::kLabel) {
    result.ok = Send(link, kRfidPrint);
    result.anyFailed = result.anyFailed || !result.ok;
  }
  if (result.ok) Tell(prompter, std::string(texts::kWritingIsSuccess), Icon::kInformation);
  return result;
}

TagReadResult ReadTag(PrinterLink& link, Clock& clock, Prompter& prompter, const TagRange& range,
                      TagReadTiming timing) {
  TagReadResult result;
  if (!TagRangeFits(range.start, range.bytes)) {
    Tell(prompter, std::string(kInvalidRange), Icon::kExclamation);
    return result;
  }
  link.Write(BuildTagRead(range));
  result.expected = CharsPerByte(range.dataType) * range.bytes;
  const size_t expected = static_cast<size_t>(std::max(result.expected, 0));
  const bool usb = link.GetInterfaceKind() == kUsb;
  // The printer may take this long to reach the tag; a reply complete sooner is taken at
  // once. One Ethernet read returns at most 32 bytes and USB comes in pieces, so read on
  // while characters keep coming.
  const int64_t began = MonotonicMs();
  bool waited = false;
  char buffer[kUsbPiece * 16];
  while (result.chars.size() < expected) {
    const size_t left = expected - result.chars.size();
    const int piece = static_cast<int>(usb ? std::min<size_t>(left, kUsbPiece) : std::min(left, sizeof buffer));
    const int got = link.Read(buffer, piece, ReplyEnd::kCount);
    result.chars.append(buffer, static_cast<size_t>(std::max(got, 0)));
    if (usb && piece == kUsbPiece) clock.Sleep(timing.usbPiecePauseMs);
    if (got > 0) continue;
    // Nothing came within the link's own wait. Once, wait out what is left of the
    // printer's time and look again; a reply still missing after that is not coming.
    const int64_t rest = timing.replyDeadlineMs - (MonotonicMs() - began);
    if (waited || rest <= 0) break;
    clock.Sleep(static_cast<int>(rest));
    waited = true;
  }
  if (result.chars.empty()) {
    result.status = TagReadStatus::kNoReply;
    Tell(prompter, std::string(texts::kReadingDataFailed), Icon::kExclamation);
  } else if (result.chars.size() < expected) {
    result.status = TagReadStatus::kIncomplete;
    Tell(prompter,
         "Reading data is incomplete: " + std::to_string(result.chars.size()) + " of " +
             std::to_string(expected) + " characters came",
         Icon::kExclamation);
  } else {
    result.status = TagReadStatus::kComplete;
    Tell(prompter, "Reading data is successful", Icon::kInformation);
  }
  return result;
}

bool PrintTag(PrinterLink& link, const TagRange& range) { return Send(link, BuildTagPrint(range)); }

}  // namespace qm
