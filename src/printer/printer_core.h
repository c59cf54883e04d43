// The printer without its ports: the byte stream in, replies, log lines and labels out.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "printer/command_parser.h"
#include "printer/printer_model.h"

namespace qm::printer {

// Where bytes came from, and so where a reply to them goes.
struct Origin {
  InterfaceKind kind = kAnyInterface;
  uint64_t channel = 0;  // the TCP connection, or the port
  std::string name;      // "tcp#3", "serial", "usb" in the log
};

class PrinterCore : private ParserSink {
 public:
  // The printed labels kept for inspection: at most this many, and at most this many bytes
  // of commands and recalled images; the newest is always kept.
  static constexpr size_t kLabelHistory = 1000;
  static constexpr size_t kLabelHistoryBytes = 64u * 1024 * 1024;

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
  };

  PrinterCore(StoredState stored, Hooks hooks);

  // Bytes as they arrived, in any pieces; the stream runs on across origins.
  void Feed(std::string_view bytes, const Origin& origin);

  PrinterModel& model() { return model_; }
  const PrinterModel& model() const { return model_; }
  // The most recent printed labels, oldest first.
  const std::deque<PrintedLabel>& labels() const { return labels_; }
  bool InPayload() const { return parser_.InPayload(); }

  // Log text for raw bytes: escaped, and cut after `kLogPreview` bytes.
  static std::string LogText(std::string_view bytes);
  static constexpr size_t kLogPreview = 160;

 private:
  void OnCommand(Command&& command) override;
  void OnSkipped(std::string_view bytes, SkipReason reason) override;
  void Log(std::string_view arrow, std::string_view text);
  void Keep(PrintedLabel&& label);

  Hooks hooks_;
  PrinterModel model_;
  CommandParser parser_;
  std::deque<PrintedLabel> labels_;
  std::deque<size_t> labelBytes_;  // what each kept label holds on to
  size_t historyBytes_ = 0;
  const Origin* current_ = nullptr;
};

}  // namespace qm::printer
