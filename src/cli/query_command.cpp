// `query`: one command written, a pause, one reply read and shown escaped.
#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/command.h"
#include "cli/escape.h"
#include "link/query.h"

namespace qm::cli {

namespace {

constexpr int64_t kMaxWaitMs = 60000;
constexpr int64_t kMaxReadBytes = 65536;

// Reads up to `count` bytes. The link gathers a whole reply per Read, except that Ethernet
// hands over at most 32 bytes a call: a full piece may have more behind it.
std::string ReadReply(PrinterLink& link, const LinkTiming& timing, int count, ReplyEnd end) {
  std::string reply(static_cast<size_t>(count), '\0');
  size_t got = 0;
  while (got < reply.size()) {
    const int want = static_cast<int>(reply.size() - got);
    const int n = link.Read(reply.data() + got, want, end);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
    if ((end == ReplyEnd::kLine || end == ReplyEnd::kText) && got >= 2 && reply[got - 2] == '\r' && reply[got - 1] == '\n') break;
    // Anything short of what the call could give means the reply has ended.
    if (link.GetInterfaceKind() != kEthernet || n < std::min(want, timing.tcpReadCap)) break;
  }
  reply.resize(got);
  return reply;
}

class QueryCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "query", "Write TEXT, wait, read the reply and print it escaped");
    sub->add_option("--wait", waitMs_, "pause between the write and the read, 0..60000 ms (default 10)")
        ->type_name("MS");
    sub->add_option("--read", readCount_, "read up to N bytes, 1..65536 (default 32)")
        ->type_name("N");
    sub->add_option("--until", until_,
                    "when the reply is whole: quiet (a pause on the line, the default), text "
                    "(at CR LF, or a pause when none comes), line (at CR LF) or count (at N "
                    "bytes); line and count wait up to the read time-out for a reply that "
                    "comes in pieces")
        ->check(CLI::IsMember({"quiet", "text", "line", "count"}))
        ->type_name("WHEN");
    sub->add_option("TEXT", text_,
                    "the bytes to write, with the escapes \\r \\n \\t \\\\ and \\xNN")
        ->required()
        ->type_name("");
    return sub;
  }

  std::string Prepare(std::istream&) override {
    if (waitMs_ < 0 || waitMs_ > kMaxWaitMs) return "--wait: must be 0..60000 ms";
    if (readCount_ < 1 || readCount_ > kMaxReadBytes) return "--read: must be 1..65536 bytes";
    const Unescaped parsed = ParseEscapes(text_);
    if (!parsed.ok) return "TEXT: " + parsed.error;
    if (parsed.bytes.empty()) return "TEXT: empty; there is nothing to write";
    bytes_ = parsed.bytes;
    return {};
  }

  JsonObject InputFields() const override {
    JsonObject fields;
    fields.Add("sent", EscapeBytes(bytes_));
    return fields;
  }

  Outcome Run(Session& session) override {
    PrinterLink& link = session.link;
    if (!WroteAll(link, link.Write(bytes_), bytes_.size())) {
      const std::string& why = link.lastError();
      return Outcome::PrinterFailed("the write failed" + (why.empty() ? "" : ": " + why));
    }
    session.clock.Sleep(static_cast<int>(waitMs_));
    const ReplyEnd end = until_ == "text"    ? ReplyEnd::kText
                         : until_ == "line"  ? ReplyEnd::kLine
                         : until_ == "count" ? ReplyEnd::kCount
                                             : ReplyEnd::kUnknown;
    const std::string reply = ReadReply(link, session.timing, static_cast<int>(readCount_), end);
    JsonObject fields;
    fields.Add("reply", EscapeBytes(reply));
    fields.Add("replyBytes", static_cast<int64_t>(reply.size()));
    if (reply.empty()) {
      std::string error = "no reply";
      if (ReadFailed(link)) error += ": " + link.lastError();
      return Outcome::PrinterFailed(error, fields);
    }
    return Outcome::Done(EscapeBytes(reply), fields);
  }

 private:
  std::string text_;
  int64_t waitMs_ = 10;
  int64_t readCount_ = 32;
  std::string until_ = "quiet";
  std::string bytes_;
};

}  // namespace

std::unique_ptr<Command> MakeQueryCommand() { return std::make_unique<QueryCommand>(); }

}  // namespace qm::cli
