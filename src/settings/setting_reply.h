// Small helpers shared by the settings operations.
#pragma once

#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/prompter.h"

namespace qm {

class PrinterLink;

// Writes `query`, waits `delayMs`, reads up to `count` bytes (at most 32). The reply
// exactly as received; empty when nothing came.
std::string QueryText(PrinterLink& link, Clock& clock, std::string_view query, int delayMs, int count);

// `text` without its trailing carriage returns and line feeds.
std::string StripLineEnds(std::string text);

// Shows a literal message with the program's caption.
void Tell(Prompter& prompter, std::string text, Icon icon);

// "<what> is successful" with the information icon, or "<what> is failed" with the
// exclamation icon; `ok` passed through.
bool Report(Prompter& prompter, bool ok, const std::string& what);

}  // namespace qm
