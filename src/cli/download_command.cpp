// `download`: any file sent to the printer byte for byte, and the progress and SIGINT
// handling that the image store shares.
#include <CLI/CLI.hpp>

#include <memory>
#include <optional>

#include "cli/interrupt_guard.h"
#include "cli/progress_line.h"
#include "cli/transfer_progress.h"
#include "core/clock.h"

namespace qm::cli {

namespace {

// Standard input, a buffer at a time.
class StreamSource : public ByteSource {
 public:
  explicit StreamSource(std::istream& in) : in_(in) {}
  size_t Read(char* buffer, size_t max) override {
    if (!in_) return 0;
    in_.read(buffer, static_cast<std::streamsize>(max));
    if (in_.bad()) failed_ = true;
    return static_cast<size_t>(in_.gcount());
  }
  bool failed() const override { return failed_; }

 private:
  std::istream& in_;
  bool failed_ = false;
};

class DownloadCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "download", "Send a file to the printer byte for byte (the File Transfer)");
    sub->add_option("FILE", file_, "the file, or - for standard input")->required()->type_name("");
    AddPaceOption(sub, paceMs_);
    sub->footer(
        "Serial, parallel and USB take the file in 2048-byte writes; Ethernet takes it in one "
        "connection, 4096 bytes at a time with a pause after each. Nothing is added around "
        "the bytes. Progress shows on standard error while it is a terminal; Ctrl-C stops "
        "before the next piece and says how many bytes went out.");
    return sub;
  }

  std::string Prepare(std::istream& in) override {
    if (file_ == "-") {
      stdin_ = std::make_unique<StreamSource>(in);
      return {};
    }
    std::string why;
    std::optional<FileSource> opened = FileSource::Open(file_, &why);
    if (!opened) return file_ + ": " + why;
    fileSource_.emplace(std::move(*opened));
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("file", file_);
    return fields;
  }

  Outcome Run(Session& session) override {
    ByteSource& source = fileSource_ ? static_cast<ByteSource&>(*fileSource_) : *stdin_;
    const TransferRun run = RunTransfer(session, "download", paceMs_, [&](const TransferOptions& options) {
      return TransferSource(session.link, source, options);
    });
    return TransferOutcome(run, "sent " + BytesCount(run.result.sent, 0));
  }

 private:
  std::string file_;
  int paceMs_ = -1;
  std::optional<FileSource> fileSource_;
  std::unique_ptr<StreamSource> stdin_;
};

}  // namespace

void AddPaceOption(CLI::App* sub, int& paceMs) {
  sub->add_option("--pace", paceMs,
                  "Ethernet: pause after each 4096-byte chunk, 0..60000 ms (default the link's 500)")
      ->check(CLI::Range(0, 60000))
      ->type_name("MS");
}

TransferRun RunTransfer(Session& session, std::string_view what, int pauseMs,
                        const std::function<TransferResult(const TransferOptions&)>& send) {
  // Between two pieces only: the piece under way goes out whole.
  InterruptGuard guard(nullptr, session.interrupt);
  ProgressLine line(session, guard, std::string(what), ProgressLine::Style::kBytes);
  TransferRun run;
  TransferOptions options;
  options.pauseMs = pauseMs;
  options.progress = &line;
  run.result = send(options);
  run.interrupted = run.result.status == TransferStatus::kCancelled;
  line.Finish();
  return run;
}

Outcome TransferOutcome(const TransferRun& run, std::string doneText, JsonObject fields) {
  const TransferResult& r = run.result;
  fields.Add("sent", static_cast<int64_t>(r.sent));
  if (r.total) fields.Add("total", static_cast<int64_t>(r.total));
  const std::string count = BytesCount(r.sent, r.total);
  switch (r.status) {
    case TransferStatus::kDone:
      return Outcome::Done(std::move(doneText), fields);
    case TransferStatus::kCancelled:
      fields.Add("interrupted", true);
      return Outcome::PrinterFailed("interrupted after " + count + " were sent", fields);
    case TransferStatus::kFailed:
      return Outcome::PrinterFailed("the download failed after " + count + " were sent" +
                                        (r.why.empty() ? "" : ": " + r.why),
                                    fields);
    case TransferStatus::kRefused:
      break;
  }
  return Outcome::PrinterFailed("the file could not be opened any more", fields);
}

std::unique_ptr<Command> MakeDownloadCommand() { return std::make_unique<DownloadCommand>(); }

}  // namespace qm::cli
