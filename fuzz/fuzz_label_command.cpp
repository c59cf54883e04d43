// The virtual printer's label command reader: a command either parses into fields and
// data that lie inside its own bytes, with a word it begins with, or is refused.
//
// Input: one label command, terminator excluded, as the splitter hands it over.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "printer/label.h"

namespace {

// Whether `part` is a view into `whole`'s own bytes.
bool Within(std::string_view part, const std::string& whole) {
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string_view word = qm::printer::LabelWord(text);
  // The printer's own text lines carry any bytes as their data.
  const qm::printer::LabelCommand line = qm::printer::PrinterTextLine(static_cast<int>(size) - 40, text);
  FUZZ_CHECK(line.word() == "T" && line.hasData() && line.data() == text);

  const auto cmd = qm::printer::ParseLabelCommand(text);
  if (!cmd) return 0;
  FUZZ_CHECK(!word.empty() && cmd->word() == word && text.compare(0, word.size(), word) == 0);
  FUZZ_CHECK(cmd->raw() == text);
  FUZZ_CHECK(cmd->fieldCount() <= qm::printer::LabelCommand::kMaxFields);
  const std::vector<std::string> fields = cmd->fields();
  FUZZ_CHECK(fields.size() == cmd->fieldCount());
  for (size_t i = 0; i < cmd->fieldCount(); ++i) {
    FUZZ_CHECK(Within(cmd->field(i), cmd->raw()));
    FUZZ_CHECK(fields[i] == cmd->field(i));
    // The data's quote ends the fields: no field holds one.
    if (cmd->hasData()) FUZZ_CHECK(cmd->field(i).find('\'') == std::string_view::npos);
  }
  if (cmd->hasData()) {
    FUZZ_CHECK(Within(cmd->data(), cmd->raw()));
    FUZZ_CHECK(cmd->raw().back() == '\'');
  } else {
    FUZZ_CHECK(cmd->data().empty() && cmd->raw().find('\'') == std::string::npos);
  }
  (void)qm::printer::IsSettingWord(cmd->word());


  qm::printer::PrintedLabel label;
  label.commands.push_back(*cmd);
  label.commands.push_back(line);
  FUZZ_CHECK(!qm::printer::FormatLabelRecord(label).empty());
  return 0;
}
