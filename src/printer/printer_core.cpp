#include "printer/printer_core.h"

#include <algorithm>
#include <cstdio>

#include "core/clock.h"
#include "printer/escape.h"

namespace qm::printer {

PrinterCore::PrinterCore(StoredState stored, Hooks hooks)
    : hooks_(std::move(hooks)), model_(std::move(stored)) {
  if (!hooks_.now) hooks_.now = WallClockMs;
  if (!hooks_.monotonicNow) hooks_.monotonicNow = MonotonicMs;
}

template <typename Work>
void PrinterCore::On(const Origin& origin, Work work) {
  const Origin* was = current_;
  current_ = &origin;
  work();
  current_ = was;
}

template <typename Work>
void PrinterCore::InStream(Stream& stream, Work work) {
  Stream* was = currentStream_;
  currentStream_ = &stream;
  On(stream.origin, work);
  currentStream_ = was;
}

void PrinterCore::Feed(std::string_view bytes, const Origin& origin) {
  const int64_t now = hooks_.monotonicNow();
  // Named apart rather than as a structured binding: clang 14 cannot capture one in a lambda.
  const auto emplaced =
      streams_.try_emplace(StreamKey(origin.kind, origin.channel), static_cast<ParserSink&>(*this), origin);
  const auto it = emplaced.first;
  const bool fresh = emplaced.second;
  Stream& stream = it->second;
  InStream(stream, [&] {
    if (fresh && waitingHeader_ && waitingHeader_->origin.kind == origin.kind) {
      if (now - waitingHeader_->sinceMs <= imageStallMs_) {
        // The image bytes whose header came over the connection before.
        stream.parser->Feed(waitingHeader_->text);
        waitingHeader_.reset();
      } else {
        DropWaitingHeader();
      }
    } else if (stream.parser->InPayload() && now - stream.lastByteMs > imageStallMs_) {
      DropImage(stream);
    }
    stream.lastByteMs = now;
    stream.fedSinceReport = true;
    stream.tally.bytes += bytes.size();
    for (const char c : bytes) stream.tally.fnv1a = (stream.tally.fnv1a ^ static_cast<uint8_t>(c)) * 0x100000001b3u;
    feeding_ = &stream;
    stream.parser->Feed(bytes);
    feeding_ = nullptr;
    if (stream.ended) {
      Finish(it, now);
    } else {
      LimitHeldImages(stream);
      const int64_t stallAt = now + imageStallMs_ + 1;
      if (stream.parser->InPayload() && (nextStallCheckMs_ < 0 || stallAt < nextStallCheckMs_)) {
        nextStallCheckMs_ = stallAt;
      }
    }
  });
}

void PrinterCore::EndStream(const Origin& origin) {
  const auto it = streams_.find(StreamKey(origin.kind, origin.channel));
  if (it == streams_.end()) return;
  if (feeding_ == &it->second) {
    // A reply to its own bytes failed to go out; the stream ends once they are parsed.
    it->second.ended = true;
    return;
  }
  Finish(it, hooks_.monotonicNow());
}

void PrinterCore::Finish(std::map<StreamKey, Stream>::iterator it, int64_t now) {
  Stream& stream = it->second;
  stream.tally.name = stream.origin.name;
  stream.tally.ended = true;
  InStream(stream, [&] {
    ReportNoise(stream);  // what it skipped last is told before its end
    char sum[20];
    std::snprintf(sum, sizeof sum, "%016llx", static_cast<unsigned long long>(stream.tally.fnv1a));
    Log("--", "closed after " + std::to_string(stream.tally.bytes) + " bytes, FNV-1a " + sum);
  });
  endedTallies_.push_back(stream.tally);
  if (endedTallies_.size() > kTallyHistory) endedTallies_.pop_front();
  const std::string_view header = stream.parser->WaitingImageHeader();
  if (!header.empty()) {
    DropWaitingHeader();  // an older header whose bytes never came
    waitingHeader_ = WaitingHeader{stream.origin, std::string(header), now};
  } else {
    InStream(stream, [&] {
      stream.parser->Abandon();
      ReportNoise(stream);
    });
  }
  if (stream.noise) --noiseRuns_;
  streams_.erase(it);
}

std::vector<ReceivedTally> PrinterCore::received() const {
  std::vector<ReceivedTally> all(endedTallies_.begin(), endedTallies_.end());
  for (const auto& [key, stream] : streams_) {
    all.push_back(stream.tally);
    all.back().name = stream.origin.name;
  }
  return all;
}

void PrinterCore::DropWaitingHeader() {
  if (!waitingHeader_) return;
  const WaitingHeader dropped = std::move(*waitingHeader_);
  waitingHeader_.reset();
  On(dropped.origin, [&] { OnSkipped(dropped.text, SkipReason::kImageDropped); });
}

void PrinterCore::LimitHeldImages(const Stream& feeding) {
  for (;;) {
    size_t held = 0;
    Stream* quietest = nullptr;
    for (auto& [key, s] : streams_) {
      held += s.parser->PendingBytes();
      if (&s != &feeding && s.parser->InPayload() && (!quietest || s.lastByteMs < quietest->lastByteMs)) {
        quietest = &s;
      }
    }
    if (held <= kMaxHeldImageBytes || !quietest) return;
    DropImage(*quietest);
  }
}

void PrinterCore::DropImage(Stream& stream) {
  InStream(stream, [&] {
    stream.parser->Abandon();
    ReportNoise(stream);
  });
  // A parser keeps the buffer of the image it dropped for the next one; counted by what
  // it holds, sixteen half-sent images would pin a quarter of a gigabyte past the limit.
  stream.parser = std::make_unique<CommandParser>(static_cast<ParserSink&>(*this));
}

std::vector<Origin> PrinterCore::DropStalledImages(int64_t now) {
  std::vector<Origin> connections;
  // Asked every turn of the loop; the streams are looked over only when one may be due.
  if (nextStallCheckMs_ < 0 || now < nextStallCheckMs_) return connections;
  nextStallCheckMs_ = -1;
  for (auto& [key, s] : streams_) {
    if (!s.parser->InPayload()) continue;
    const int64_t stallAt = s.lastByteMs + imageStallMs_ + 1;
    if (stallAt > now) {
      if (nextStallCheckMs_ < 0 || stallAt < nextStallCheckMs_) nextStallCheckMs_ = stallAt;
    } else if (key.first == kEthernet) {
      connections.push_back(s.origin);
    } else {
      DropImage(s);
    }
  }
  return connections;
}

int PrinterCore::WaitMs(int64_t now) const {
  int64_t due = noiseRuns_ > 0 ? kNoiseReportMs : -1;
  if (nextStallCheckMs_ >= 0) {
    const int64_t left = std::max<int64_t>(nextStallCheckMs_ - now, 0);
    due = due < 0 ? left : std::min(due, left);
  }
  return due < 0 ? -1 : static_cast<int>(std::min<int64_t>(due, 1 << 30));
}

void PrinterCore::ReportQuietNoise() {
  if (noiseRuns_ == 0) return;
  for (auto& [key, s] : streams_) {
    if (s.noise && !s.fedSinceReport) ReportNoise(s);
    s.fedSinceReport = false;
  }
}

void PrinterCore::ReportNoise(Stream& stream) {
  if (!stream.noise) return;
  const NoiseRun run = std::move(*stream.noise);
  stream.noise.reset();
  --noiseRuns_;
  std::string text = Escape(run.preview);
  if (run.bytes > run.preview.size()) text += "... (" + std::to_string(run.bytes) + " bytes)";
  On(stream.origin, [&] { Log("!!", "skipped noise: " + text); });
}

bool PrinterCore::MidCommand(InterfaceKind kind, uint64_t channel) const {
  const auto it = streams_.find(StreamKey(kind, channel));
  return it != streams_.end() && (it->second.parser->InPayload() || it->second.parser->PendingBytes() > 0);
}

bool PrinterCore::InPayload() const {
  return std::any_of(streams_.begin(), streams_.end(),
                     [](const auto& entry) { return entry.second.parser->InPayload(); });
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
  if (currentStream_) ReportNoise(*currentStream_);
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
  size_t bytes = label.settingsInForce.size() * sizeof(MediaSettings);
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
  // A stream that ended or stalled is no fault in the commands: the next client must not
  // find an error code left behind by the last.
  if (reason != SkipReason::kUnfinished && reason != SkipReason::kImageDropped) model_.NoteSyntaxError();
  if (!hooks_.log) return;
  if (reason == SkipReason::kGarbage && currentStream_) {
    // Counted, not logged piece by piece: a flood of NULs must not become a flood of log.
    Stream& s = *currentStream_;
    if (!s.noise) {
      s.noise.emplace();
      ++noiseRuns_;
    }
    const size_t room = kLogPreview - std::min(kLogPreview, s.noise->preview.size());
    s.noise->preview.append(bytes.substr(0, room));
    s.noise->bytes += bytes.size();
    return;
  }
  if (currentStream_) ReportNoise(*currentStream_);
  switch (reason) {
    case SkipReason::kGarbage: Log("!!", "skipped noise: " + LogText(bytes)); break;
    case SkipReason::kMalformed: Log("!!", "skipped malformed command: " + LogText(bytes)); break;
    case SkipReason::kTooLong: Log("!!", "skipped over-long command: " + LogText(bytes)); break;
    case SkipReason::kUnfinished: Log("!!", "dropped unfinished command: " + LogText(bytes)); break;
    case SkipReason::kImageDropped:
      Log("!!", "dropped image, its bytes stopped coming: " + LogText(bytes));
      break;
  }
}

}  // namespace qm::printer
