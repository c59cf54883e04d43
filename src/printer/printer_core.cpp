#include "printer/printer_core.h"

#include "printer/escape.h"

namespace qm::printer {

PrinterCore::PrinterCore(StoredState stored, Hooks hooks)
    : hooks_(std::move(hooks)), model_(std::move(stored)), parser_(*this) {
  if (!hooks_.now) hooks_.now = WallClockMs;
}

void PrinterCore::Feed(std::string_view bytes, const Origin& origin) {
  current_ = &origin;
  parser_.Feed(bytes);
  current_ = nullptr;
}

std::string PrinterCore::LogText(std::string_view bytes) {
  if (bytes.size() <= kLogPreview) return Escape(bytes);
  return Escape(bytes.substr(0, kLogPreview)) + "... (" + std::to_string(bytes.size()) + " bytes)";
}

void PrinterCore::Log(std::string_view arrow, std::string_view text) {
  if (!hooks_.log) return;
  std::string line = current_ ? current_->name : std::string("-");
  line += ' ';
  line += arrow;
  line += ' ';
  line += text;
  hooks_.log(std::move(line));
}

void PrinterCore::OnCommand(Command&& command) {
  static const Origin kInProcess;
  const Origin& origin = current_ ? *current_ : kInProcess;
  if (hooks_.log) {
    std::string text = LogText(command.text);
    if (command.IsImageStore()) text += " + " + std::to_string(command.payloadSize) + " image bytes";
    Log("<-", text);
  }
  Outcome out = model_.Handle(std::move(command), origin.kind);
  if (!out.note.empty()) Log("!!", out.note);
  if (out.storedChanged && hooks_.storedChanged) hooks_.storedChanged();
  if (out.printed) {
    out.printed->printedAtMs = hooks_.now();
    Log("**", "printed label " + std::to_string(out.printed->sequence) + " with " +
                  std::to_string(out.printed->commands.size()) + " commands");
    Keep(std::move(*out.printed));
    if (hooks_.printed) hooks_.printed(labels_.back());
  }
  if (out.reply && hooks_.reply) hooks_.reply(origin, std::move(*out.reply));
}

namespace {

size_t LabelBytes(const PrintedLabel& label) {
  size_t bytes = 0;
  for (const LabelCommand& c : label.commands) bytes += c.raw().size() + (c.image ? c.image->size() : 0);
  return bytes;
}

}  // namespace

void PrinterCore::Keep(PrintedLabel&& label) {
  labelBytes_.push_back(LabelBytes(label));
  historyBytes_ += labelBytes_.back();
  labels_.push_back(std::move(label));
  while (labels_.size() > 1 && (labels_.size() > kLabelHistory || historyBytes_ > kLabelHistoryBytes)) {
    historyBytes_ -= labelBytes_.front();
    labelBytes_.pop_front();
    labels_.pop_front();
  }
}

void PrinterCore::OnSkipped(std::string_view bytes, SkipReason reason) {
  model_.NoteSyntaxError();
  if (!hooks_.log) return;
  switch (reason) {
    case SkipReason::kGarbage: Log("!!", "skipped noise: " + LogText(bytes)); break;
    case SkipReason::kMalformed: Log("!!", "skipped malformed command: " + LogText(bytes)); break;
    case SkipReason::kTooLong: Log("!!", "skipped over-long command: " + LogText(bytes)); break;
  }
}

}  // namespace qm::printer
