// What every tool's operations share to ask the printer something and to say how it went:
// a query written, waited for and read, its reply's line end taken off, and the message.
#pragma once

#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/prompter.h"
#include "link/link_types.h"

namespace qm {

class PrinterLink;

// Reads up to `count` bytes (at most 32) of a reply shaped as `end`. The reply exactly as
// received; empty when nothing came.
std::string ReadReply(PrinterLink& link, int count, ReplyEnd end);

// Whether a Read that got nothing failed on the port (a hung-up line, a device gone)
// rather than finding the printer silent.
bool ReadFailed(const PrinterLink& link);

// Writes `query`, waits `delayMs`, then reads its reply as ReadReply does.
std::string QueryText(PrinterLink& link, Clock& clock, std::string_view query, int delayMs, int count,
                      ReplyEnd end);

// `text` without its trailing carriage returns and line feeds.
std::string StripLineEnds(std::string text);

// Shows a literal message with the program's caption.
void Tell(Prompter& prompter, std::string text, Icon icon);

// "<what> is successful" with the information icon, or "<what> is failed" with the
// exclamation icon; `ok` passed through.
bool Report(Prompter& prompter, bool ok, const std::string& what);

// `success` with the information icon, or `failure` with the exclamation icon, for the
// tools whose two texts are not "<what> is successful/failed"; `ok` passed through.
bool Report(Prompter& prompter, bool ok, std::string_view success, std::string_view failure);

// After a switch write that could not read the switch first: "Memory switch 4 could not be
// read first, so <others> was cleared.", `others` naming what shares the switch.
void TellOthersCleared(Prompter& prompter, int number, std::string_view others);

}  // namespace qm
