// Typed text to the printer's bytes. The printer takes one byte a character in its 8-bit
// code page (Latin-1 here); a character the code page has no byte for is refused, naming
// it and the field, instead of going out as "?".
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "core/prompter.h"

class QLineEdit;

namespace qm {

enum class TextForm {
  // A field's value, one byte per character.
  kPlain,
  // Script text as the tester's editor and the builders' data fields show it: the control
  // pictures and circled numbers stand for their bytes, a line break for CR LF.
  kScript,
};

// The characters of `text` that `form` has no byte for, each once, in the order typed.
std::vector<char32_t> UncarriedCharacters(const QString& text, TextForm form);

// The message naming `characters` and the field the operator knows as `field` (its label
// as the dialog shows it).
Message UncarriedMessage(const QString& field, const std::vector<char32_t>& characters);

// The bytes for `text`; nullopt, after `prompter` has shown UncarriedMessage, when a
// character cannot be carried.
std::optional<std::string> ToPrinterBytes(const QString& text, const QString& field, Prompter& prompter,
                                          TextForm form = TextForm::kPlain);

// ToPrinterBytes for the text of `edit`; a refused field takes the focus, to be mended.
std::optional<std::string> FieldBytes(QLineEdit* edit, const QString& field, Prompter& prompter);

// A field's name as its label reads, without the trailing colon: "Kill :" is "Kill".
QString FieldName(const QString& label);

}  // namespace qm
