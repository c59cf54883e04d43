// Splits the printer's incoming byte stream into QDRL commands, byte by byte if need be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm::printer {

// One complete command as it arrived, terminator excluded.
struct Command {
  std::string text;
  // Image store only: the declared size, the image bytes, and whether the header was
  // refused for declaring more than the limit (then no bytes after it were taken).
  uint64_t payloadSize = 0;
  std::string payload;
  bool payloadRefused = false;

  bool IsImageStore() const { return text.size() >= 2 && text[0] == 'I' && text[1] == 'S'; }
};

enum class SkipReason {
  kGarbage,       // bytes that cannot start a command
  kMalformed,     // a command cut short or broken by the byte that followed
  kTooLong,       // a command beyond the length limit, dropped up to its line end
  kUnfinished,    // a command whose stream ended before it did
  kImageDropped,  // an image header whose bytes stopped coming: the header is reported
};

// Receives what the parser finds, synchronously from inside Feed.
class ParserSink {
 public:
  virtual ~ParserSink() = default;
  virtual void OnCommand(Command&& command) = 0;
  virtual void OnSkipped(std::string_view bytes, SkipReason reason) = 0;
};

// Incremental and pure: the same bytes give the same commands however they are split.
// One parser reads one stream; what one stream leaves unfinished never reaches another.
// Commands that the tools send without a terminator ("^PI0", "^PI4,0", "^MBR1,1", "^MBS",
// "^MBA", "^MBL1", "^MBX0", "II", "ID*", "ID'name'", the "IS" header) end when their fixed
// form is complete; every other command ends at CR or LF. Raw bytes in fixed positions (the
// switch value, the switch number) may be anything, CR and NUL included.
class CommandParser {
 public:
  static constexpr size_t kMaxCommandBytes = 64 * 1024;
  static constexpr uint64_t kMaxImageBytes = 16u * 1024 * 1024;
  static constexpr size_t kMaxNameBytes = 255;

  explicit CommandParser(ParserSink& sink) : sink_(sink) {}

  void Feed(const char* data, size_t count);
  void Feed(std::string_view bytes) { Feed(bytes.data(), bytes.size()); }

  // The stream has ended, or gone quiet in the middle of an image: whatever is unfinished
  // is reported and forgotten, and the next byte starts a command afresh.
  void Abandon();

  // True while image bytes are being consumed.
  bool InPayload() const { return mode_ == Mode::kPayload; }
  // The header of an image none of whose bytes have come yet; empty otherwise.
  std::string_view WaitingImageHeader() const;
  // Bytes held for an unfinished command (bounded by the limits above).
  size_t PendingBytes() const { return buffer_.size() + image_.payload.size(); }

 private:
  enum class Mode { kCommand, kPayload, kDiscardLine };
  enum class Verdict { kIncomplete, kComplete, kImageHeader, kReject, kEndLine };
  enum class Form { kUndecided, kFixed, kLine };

  void Step(char c);
  Verdict Classify(char c);
  Verdict ClassifyFixed(char c);
  Verdict ClassifyImageHeader(char c);
  Verdict ClassifyLine(char c);
  void Emit();
  void Reject();
  void StartPayload();
  void FlushGarbage();
  void Reset();

  ParserSink& sink_;
  Mode mode_ = Mode::kCommand;
  std::string buffer_;
  Form form_ = Form::kUndecided;
  bool inData_ = false;     // past the quote that opens a line command's data
  bool freeText_ = false;   // "^MBY": unquoted text that may hold any byte but CR/LF
  bool multiLine_ = false;  // "B2": quoted data may span lines
  // Image header progress: 0 size digits, 1 after the comma, 2 in the name, 3 done.
  int headerStage_ = 0;
  uint64_t headerSize_ = 0;
  int headerDigits_ = 0;
  Command image_;
  uint64_t payloadLeft_ = 0;
  std::string garbage_;
};

}  // namespace qm::printer
