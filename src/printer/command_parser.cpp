#include "printer/command_parser.h"

#include <algorithm>
#include <cstring>

namespace qm::printer {

namespace {

// Garbage is reported in pieces of at most this many bytes, so a long run needs no buffer.
constexpr size_t kGarbagePiece = 256;
// Only the start of an over-long command is worth reporting.
constexpr size_t kTooLongPreview = 64;

bool IsTerminator(char c) { return c == '\r' || c == '\n'; }

// Bytes that matter inside a line command: line ends, quoting, and command starts.
bool IsSpecialInLine(char c) { return c == '\r' || c == '\n' || c == '\'' || c == '^' || c == '>'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The first bytes of every query and switch command; outside quoted data they begin a
// command and nothing else.
bool OnlyBeginsCommand(char c) { return c == '^' || c == '>'; }

// Commands begin with "^", ">" or an upper-case letter; anything else between commands is
// noise on the line.
bool IsCommandStart(char c) { return c == '^' || c == '>' || (c >= 'A' && c <= 'Z'); }

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// Prefixes shared by a fixed form and something else; the next byte decides.
bool IsUndecidedPrefix(std::string_view s) {
  return s == "^" || s == "^P" || s == "^M" || s == "^MB" || s == "I";
}

bool IsFixedWord(std::string_view s) {
  static constexpr std::string_view kFixed[] = {"^PI",  "^MBR", "^MBS", "^MBA", "^MBL",
                                                "^MBX", "II",   "ID",   "IS"};
  return std::any_of(std::begin(kFixed), std::end(kFixed),
                     [&](std::string_view w) { return StartsWith(s, w); });
}

}  // namespace

void CommandParser::Feed(const char* data, size_t count) {
  size_t i = 0;
  while (i < count) {
    if (mode_ == Mode::kPayload) {
      const size_t take = static_cast<size_t>(std::min<uint64_t>(payloadLeft_, count - i));
      if (!image_.payloadRefused) image_.payload.append(data + i, take);
      payloadLeft_ -= take;
      i += take;
      if (payloadLeft_ == 0) {
        mode_ = Mode::kCommand;
        sink_.OnCommand(std::move(image_));
        image_ = Command{};
      }
      continue;
    }
    if (mode_ == Mode::kDiscardLine) {
      // The rest of an over-long line is dropped up to its end, or up to a byte that only
      // ever begins a command: a query or a switch write right after it must not lose its
      // first bytes, nor a raw CR value, to the line it follows.
      while (i < count && !IsTerminator(data[i]) && !OnlyBeginsCommand(data[i])) ++i;
      if (i < count) {
        if (IsTerminator(data[i])) ++i;
        mode_ = Mode::kCommand;
      }
      continue;
    }
    if (form_ == Form::kLine && buffer_.size() >= 2) {
      // The body of a line command: take ordinary bytes in one go. Anything that may end
      // the command or open its data goes through Step; in text data only a line end does.
      const size_t room = kMaxCommandBytes - std::min(buffer_.size(), kMaxCommandBytes);
      const size_t end = i + std::min(count - i, room);
      const bool textData = inData_ && !multiLine_;
      size_t j = i;
      while (j < end && (textData ? !IsTerminator(data[j]) : !IsSpecialInLine(data[j]))) ++j;
      buffer_.append(data + i, j - i);
      i = j;
      if (i == count) break;
    }
    Step(data[i++]);
  }
  // Report noise as soon as the piece that carried it is done, not when the next command
  // happens to come.
  FlushGarbage();
}

void CommandParser::Step(char c) {
  if (buffer_.empty()) {
    if (IsTerminator(c)) {
      FlushGarbage();  // an empty line, or the LF of a CR LF
      return;
    }
    if (!IsCommandStart(c)) {
      garbage_.push_back(c);
      if (garbage_.size() == kGarbagePiece) FlushGarbage();
      return;
    }
    FlushGarbage();
  }
  if (buffer_.size() >= kMaxCommandBytes) {
    sink_.OnSkipped(std::string_view(buffer_).substr(0, kTooLongPreview), SkipReason::kTooLong);
    Reset();
    if (IsTerminator(c)) return;
    if (OnlyBeginsCommand(c)) {
      Step(c);
      return;
    }
    mode_ = Mode::kDiscardLine;
    return;
  }
  buffer_.push_back(c);
  switch (Classify(c)) {
    case Verdict::kIncomplete:
      return;
    case Verdict::kComplete:
      Emit();
      return;
    case Verdict::kEndLine:
      buffer_.pop_back();
      Emit();
      return;
    case Verdict::kImageHeader:
      StartPayload();
      return;
    case Verdict::kReject:
      // The byte does not fit what came before: report that part and let the byte start
      // afresh, so a valid query right after noise is still answered.
      buffer_.pop_back();
      Reject();
      Step(c);
      return;
  }
}

CommandParser::Verdict CommandParser::Classify(char c) {
  if (form_ == Form::kUndecided) {
    if (IsUndecidedPrefix(buffer_)) return IsTerminator(c) ? Verdict::kReject : Verdict::kIncomplete;
    if (IsFixedWord(buffer_)) {
      form_ = Form::kFixed;
    } else {
      form_ = Form::kLine;
      freeText_ = buffer_ == "^MBY";
    }
  }
  if (form_ == Form::kFixed) return ClassifyFixed(c);
  return ClassifyLine(c);
}

CommandParser::Verdict CommandParser::ClassifyFixed(char c) {
  const std::string_view b(buffer_);
  const size_t n = b.size();
  if (StartsWith(b, "IS")) return ClassifyImageHeader(c);
  if (StartsWith(b, "II")) return Verdict::kComplete;
  if (StartsWith(b, "ID")) {
    if (n == 2) return Verdict::kIncomplete;
    if (n == 3) {
      if (c == '*') return Verdict::kComplete;
      return c == '\'' ? Verdict::kIncomplete : Verdict::kReject;
    }
    if (c == '\'') return Verdict::kComplete;
    if (IsTerminator(c) || n - 4 >= kMaxNameBytes) return Verdict::kReject;
    return Verdict::kIncomplete;
  }
  if (StartsWith(b, "^PI")) {
    switch (n) {
      case 3: return Verdict::kIncomplete;
      case 4:
        if (c == '0' || c == '1' || c == '2') return Verdict::kComplete;
        return (c == '4' || c == '5') ? Verdict::kIncomplete : Verdict::kReject;
      case 5: return c == ',' ? Verdict::kIncomplete : Verdict::kReject;
      default: return IsDigit(c) ? Verdict::kComplete : Verdict::kReject;
    }
  }
  // The memory switch family: "^MB" + letter, then a fixed tail.
  const char kind = b[3];
  if (n == 4) return Verdict::kIncomplete;
  switch (kind) {
    case 'A':  // the switch number is a raw byte
      return Verdict::kComplete;
    case 'L':
    case 'X':
      return IsDigit(c) ? Verdict::kComplete : Verdict::kReject;
    case 'R':
      if (n == 5) return IsDigit(c) ? Verdict::kIncomplete : Verdict::kReject;
      if (n == 6) return c == ',' ? Verdict::kIncomplete : Verdict::kReject;
      return IsDigit(c) ? Verdict::kComplete : Verdict::kReject;
    case 'S':
      if (n == 5) return IsDigit(c) ? Verdict::kIncomplete : Verdict::kReject;
      if (n == 6) return c == ',' ? Verdict::kIncomplete : Verdict::kReject;
      return Verdict::kComplete;  // the value is a raw byte
    default:
      return Verdict::kReject;
  }
}

CommandParser::Verdict CommandParser::ClassifyImageHeader(char c) {
  if (buffer_.size() == 2) return Verdict::kIncomplete;
  switch (headerStage_) {
    case 0:  // the size, blanks allowed around it, then ","
      if (IsDigit(c)) {
        if (headerDigits_ > 0 && buffer_[buffer_.size() - 2] == ' ') return Verdict::kReject;
        if (++headerDigits_ > 10) return Verdict::kReject;
        headerSize_ = headerSize_ * 10 + static_cast<uint64_t>(c - '0');
        return Verdict::kIncomplete;
      }
      if (c == ' ') return Verdict::kIncomplete;
      if (c == ',' && headerDigits_ > 0) {
        headerStage_ = 1;
        return Verdict::kIncomplete;
      }
      return Verdict::kReject;
    case 1:  // blanks, then the opening quote of the name
      if (c == ' ') return Verdict::kIncomplete;
      if (c == '\'') {
        headerStage_ = 2;
        return Verdict::kIncomplete;
      }
      return Verdict::kReject;
    default: {  // the name, up to its closing quote
      if (c == '\'') return Verdict::kImageHeader;
      const size_t nameStart = buffer_.find('\'') + 1;
      if (IsTerminator(c) || buffer_.size() - nameStart > kMaxNameBytes) return Verdict::kReject;
      return Verdict::kIncomplete;
    }
  }
}

CommandParser::Verdict CommandParser::ClassifyLine(char c) {
  const char prev = buffer_.size() >= 2 ? buffer_[buffer_.size() - 2] : '\0';
  if (buffer_.size() == 2 && buffer_ == "B2") multiLine_ = true;
  if (inData_) {
    // Quoted data is sent as typed: quotes inside it are not escaped, so they neither close
    // nor reopen it, and "^" or ">" inside it begin nothing. Text data ends with its line.
    if (!IsTerminator(c)) {
      // Two-dimensional data may hold line breaks, but a line of it that begins like a
      // query is the next command: the data before it was never closed.
      if (multiLine_ && (c == '^' || c == '>') && IsTerminator(prev)) return Verdict::kReject;
      return Verdict::kIncomplete;
    }
    // Two-dimensional data ends at the first line end right after a quote.
    if (multiLine_ && prev != '\'') return Verdict::kIncomplete;
    return Verdict::kEndLine;
  }
  if (IsTerminator(c)) return Verdict::kEndLine;
  if (c == '\'') {
    inData_ = true;
    return Verdict::kIncomplete;
  }
  // Before the data these bytes only ever begin a command: the one before was cut short.
  if ((c == '^' || c == '>') && buffer_.size() > 1 && !freeText_) return Verdict::kReject;
  return Verdict::kIncomplete;
}

void CommandParser::Emit() {
  Command command;
  command.text = buffer_;
  Reset();
  sink_.OnCommand(std::move(command));
}

void CommandParser::Reject() {
  sink_.OnSkipped(buffer_, SkipReason::kMalformed);
  Reset();
}

void CommandParser::StartPayload() {
  image_ = Command{};
  image_.text = buffer_;
  image_.payloadSize = headerSize_;
  // A header declaring more than the printer takes is refused on its own: swallowing the
  // bytes it announces would swallow every command behind it for gigabytes.
  image_.payloadRefused = headerSize_ > kMaxImageBytes;
  Reset();
  if (image_.payloadSize == 0 || image_.payloadRefused) {
    sink_.OnCommand(std::move(image_));
    image_ = Command{};
    return;
  }
  payloadLeft_ = image_.payloadSize;
  mode_ = Mode::kPayload;
}

void CommandParser::Abandon() {
  FlushGarbage();
  if (mode_ == Mode::kPayload) {
    sink_.OnSkipped(image_.text, SkipReason::kImageDropped);
    image_ = Command{};
    payloadLeft_ = 0;
  } else if (!buffer_.empty()) {
    sink_.OnSkipped(buffer_, SkipReason::kUnfinished);
  }
  Reset();
  mode_ = Mode::kCommand;
}

std::string_view CommandParser::WaitingImageHeader() const {
  if (mode_ != Mode::kPayload || payloadLeft_ != image_.payloadSize) return {};
  return image_.text;
}

void CommandParser::FlushGarbage() {
  if (garbage_.empty()) return;
  sink_.OnSkipped(garbage_, SkipReason::kGarbage);
  garbage_.clear();
}

void CommandParser::Reset() {
  buffer_.clear();
  form_ = Form::kUndecided;
  inData_ = false;
  freeText_ = false;
  multiLine_ = false;
  headerStage_ = 0;
  headerSize_ = 0;
  headerDigits_ = 0;
}

}  // namespace qm::printer
