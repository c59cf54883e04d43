// The printer without its ports: the byte stream in, replies, log lines and labels out.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "printer/command_parser.h"
#include "printer/printer_model.h"

namespace qm::printer {

// Where bytes came from, and so where a reply to them goes.
struct Origin {
  InterfaceKind kind = kAnyInterface;
  uint64_t channel = 0;  // the TCP connection, or the port
  std::string name;      // "tcp#3", "serial", "usb" in the log
};

// Every byte a stream brought, counted and summed, so a download can be checked whole.
struct ReceivedTally {
  std::string name;     // the stream's origin, "tcp#3", "serial"
  uint64_t bytes = 0;
  uint64_t fnv1a = 0xcbf29ce484222325u;  // FNV-1a (64 bits) of the bytes in order
  bool ended = false;   // the connection has closed
};

class PrinterCore : private ParserSink {
 public:
  // Tallies of closed connections kept, the newest last.
  static constexpr size_t kTallyHistory = 64;
  // The printed labels kept for inspection: at most this many, and at most this many bytes
  // of commands and recalled images; the newest is always kept.
  static constexpr size_t kLabelHistory = 1000;
  static constexpr size_t kLabelHistoryBytes = 64u * 1024 * 1024;
  // An image whose bytes stop coming for this long is dropped and its stream reads
  // commands again. The tools send the bytes straight after the header, at worst with a
  // reconnect or a half-second pause between pieces.
  static constexpr int64_t kImageStallMs = 5000;
  // While noise is being skipped and its stream says nothing else, the run is told at
  // most this late.
  static constexpr int64_t kNoiseReportMs = 50;
  // Unfinished images held over all streams together; beyond it the stream quiet the
  // longest loses its image.
  static constexpr size_t kMaxHeldImageBytes = 2 * CommandParser::kMaxImageBytes;

  struct Hooks {
    // A reply to a query that arrived over `origin`.
    std::function<void(const Origin& origin, std::string bytes)> reply;
    // One finished log line, without its timestamp; unset means no logging at all.
    std::function<void(std::string line)> log;
    // A label has been printed.
    std::function<void(const PrintedLabel& label)> printed;
    // The non-volatile state changed.
    std::function<void()> storedChanged;
    // Milliseconds since the epoch, to stamp printed labels.
    std::function<int64_t()> now;
    // Milliseconds on a monotonic scale, to time stalled images; unset: the system's.
    std::function<int64_t()> monotonicNow;
  };

  PrinterCore(StoredState stored, Hooks hooks);

  // Shortens the stall limit for images (tests); `kImageStallMs` otherwise.
  void SetImageStallMs(int64_t ms) { imageStallMs_ = ms; }
  int64_t imageStallMs() const { return imageStallMs_; }

  // Bytes as they arrived, in any pieces. Each TCP connection is a command stream of its
  // own; a serial, parallel or USB port is one stream across all its reads.
  void Feed(std::string_view bytes, const Origin& origin);
  // The TCP connection behind `origin` has closed: what it left unfinished is dropped.
  // Only an image header none of whose bytes came waits for them on the next connection
  // (the link sends header and bytes with a reconnect between), up to `kImageStallMs`.
  void EndStream(const Origin& origin);

  PrinterModel& model() { return model_; }
  const PrinterModel& model() const { return model_; }
  // The most recent printed labels, oldest first.
  const std::deque<PrintedLabel>& labels() const { return labels_; }
  // Whether any stream is in the middle of an image's bytes.
  bool InPayload() const;
  // Whether the stream of `origin` holds part of a command or of an image.
  bool MidCommand(InterfaceKind kind, uint64_t channel) const;
  // Images whose bytes stopped coming for the stall limit: a port's is dropped here; the
  // TCP connections carrying one are returned for the caller to close, which drops it.
  std::vector<Origin> DropStalledImages(int64_t now);
  // Milliseconds until the next image stalls, or until skipped noise is due in the log;
  // -1 when neither is.
  int WaitMs(int64_t now) const;
  // Tells the runs of noise whose streams brought nothing since the last call: a flood
  // of junk is one log line, not one per piece the parser skips.
  void ReportQuietNoise();
  // Streams with something read from them and not yet ended.
  size_t streamCount() const { return streams_.size(); }
  // What the recently closed streams and the open ones received, in that order.
  std::vector<ReceivedTally> received() const;

  // Log text for raw bytes: escaped, and cut after `kLogPreview` bytes.
  static std::string LogText(std::string_view bytes);
  static constexpr size_t kLogPreview = 160;

 private:
  using StreamKey = std::pair<InterfaceKind, uint64_t>;
  // Noise skipped in a row on one stream: its start, and how much there was.
  struct NoiseRun {
    // Spelled out: clang cannot yet use a default member initializer of a class nested in
    // one still being defined, and takes the type for not default-constructible.
    NoiseRun() : bytes(0) {}
    std::string preview;
    uint64_t bytes;
  };
  struct Stream {
    Stream(ParserSink& sink, const Origin& from) : parser(std::make_unique<CommandParser>(sink)), origin(from) {}
    // Made anew when an image is dropped, so its buffer goes with it.
    std::unique_ptr<CommandParser> parser;
    Origin origin;
    int64_t lastByteMs = 0;
    bool ended = false;  // closed while its own bytes were being parsed
    bool fedSinceReport = false;
    ReceivedTally tally;
    std::optional<NoiseRun> noise;
  };
  // An image header whose connection closed before its bytes came.
  struct WaitingHeader {
    Origin origin;
    std::string text;
    int64_t sinceMs = 0;
  };

  void OnCommand(Command&& command) override;
  void OnSkipped(std::string_view bytes, SkipReason reason) override;
  void Finish(std::map<StreamKey, Stream>::iterator it, int64_t now);
  void DropWaitingHeader();
  void LimitHeldImages(const Stream& feeding);
  // Drops the image `stream` is receiving and gives back the memory it held.
  void DropImage(Stream& stream);
  // Logs the run of noise `stream` has skipped, if any.
  void ReportNoise(Stream& stream);
  // Runs `work` with log lines, replies and noise going to `stream`.
  template <typename Work>
  void InStream(Stream& stream, Work work);
  // Runs `work` with log lines and replies going to `origin`.
  template <typename Work>
  void On(const Origin& origin, Work work);
  void Log(std::string_view arrow, std::string_view text);
  void Keep(PrintedLabel&& label);

  Hooks hooks_;
  PrinterModel model_;
  std::map<StreamKey, Stream> streams_;
  std::optional<WaitingHeader> waitingHeader_;
  const Stream* feeding_ = nullptr;
  std::deque<PrintedLabel> labels_;
  std::deque<ReceivedTally> endedTallies_;
  std::deque<size_t> labelBytes_;  // what each kept label holds on to
  size_t historyBytes_ = 0;
  const Origin* current_ = nullptr;
  Stream* currentStream_ = nullptr;
  int64_t imageStallMs_ = kImageStallMs;
  size_t noiseRuns_ = 0;  // streams with a run of noise not yet told
  // No image stalls before this (-1: none is being received); feeding only ever moves
  // a stream's own stall later.
  int64_t nextStallCheckMs_ = -1;
};

}  // namespace qm::printer
