// How the settings commands show the printer's values and take them from the command line.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/latin1.h"

namespace qm {
class PrinterLink;
}  // namespace qm

namespace qm::cli {

using EntryList = std::span<const std::string_view>;

// "Hand Shake : Software": the page's label without its trailing blanks, one blank, the value.
std::string Labelled(std::string_view label, std::string_view value);

// The printer keeps one byte a character (Latin-1); the terminal and JSON want UTF-8.
using qm::Latin1ToUtf8;
using qm::Utf8ToLatin1;
// Why Utf8ToLatin1 refuses `text`, for a refusal after the option's name: the characters
// beyond U+00FF, each once ("\"\u3042\" (U+3042)"), or that it is not UTF-8; empty when it does not.
std::string Latin1Refusal(std::string_view text);
// `text` from the terminal (UTF-8) as the Latin-1 bytes the GUI sends for the same typed
// text, into `out`; else the refusal, naming `option`.
std::string TakeLatin1(std::string_view option, std::string_view text, std::string& out);

// A printer's text fit for one line of output: its trailing line end left off, control
// bytes escaped as `query` shows them, the rest as UTF-8.
std::string OneLine(std::string_view bytes);

// A decimal whole number with an optional sign that fits an int; nothing else.
std::optional<int> ParseInt(std::string_view text);

// True for one or more ASCII digits and nothing else.
bool AllDigits(std::string_view text);

// The index of the entry `text` names, compared without regard to case and with runs of
// blanks as one, so "pc928 - greek" finds "PC928 -  Greek".
std::optional<int> FindEntry(EntryList names, std::string_view text);
// The entry at `index`, or "none" where the page would leave its list unselected.
std::string EntryOrNone(EntryList names, std::optional<int> index);
// "  0  Factory Default CodePage" and so on, one a line, for --help.
std::string NumberedEntries(EntryList names);

// Why a step failed, with the link's own reason when it names one.
std::string WriteFailure(const PrinterLink& link);
std::string NoReply(const PrinterLink& link, std::string_view what = "no reply");

}  // namespace qm::cli
