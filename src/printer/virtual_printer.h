// The virtual printer with its ports, run on a thread of its own: the program's whole
// working, and what the GUI and CLI start in-process for a demo.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "printer/fake_usb.h"
#include "printer/label_forwarder.h"
#include "printer/printer_core.h"
#include "printer/printer_options.h"
#include "printer/pty_port.h"
#include "printer/reply_scheduler.h"
#include "printer/tcp_server.h"

namespace qm::render {
class LabelRenderer;
}  // namespace qm::render

namespace qm::printer {

class VirtualPrinter {
 public:
  // What the labels waiting for the label writer may hold (commands and recalled images)
  // beyond which printing waits for it: records are never dropped, only pictures.
  static constexpr size_t kMaxQueuedLabelBytes = 64u * 1024 * 1024;

  explicit VirtualPrinter(PrinterOptions options);
  ~VirtualPrinter();
  VirtualPrinter(const VirtualPrinter&) = delete;
  VirtualPrinter& operator=(const VirtualPrinter&) = delete;

  // Loads the state file, opens every port asked for and starts serving. On failure
  // nothing stays open and `error` says why.
  bool Start(std::string& error);
  // Stops serving, saves the state file and removes the links and the USB tree it made.
  void Stop();
  bool running() const { return thread_.joinable(); }

  // Where the ports are; empty or 0 for a port not served.
  std::string tcpAddress() const;
  uint16_t tcpPort() const;
  std::string serialPath() const;    // the pseudo-terminal, e.g. /dev/pts/4
  std::string parallelPath() const;
  std::string usbNodePath() const;   // DIR/dev/usb/lp0
  std::string usbSysfsRoot() const;  // DIR/sys
  std::string usbDevRoot() const;    // DIR/dev

  // Snapshots of the printer, safe from any thread.
  StoredState stored() const;
  Faults faults() const;
  void SetFaults(const Faults& faults);
  std::vector<PrintedLabel> labels() const;
  uint64_t labelsPrinted() const;
  std::vector<LabelCommand> pendingLabel() const;
  std::map<std::string, size_t> images() const;
  std::vector<ReceivedTally> received() const;
  RfidTag tag() const;
  // Why the last state save or label record failed; empty when all went well.
  std::string lastFileError() const;
  // Labels recorded as text alone because too many were waiting to be drawn.
  uint64_t picturesSkipped() const;

 private:
  void Run();
  void OnReply(const Origin& origin, std::string bytes);
  void SendPiece(const ReplyPiece& piece);
  void Log(const std::string& line);
  void SetFileError(const std::string& error);

  // A printed label on its way to the output folder: drawn too, or its record alone.
  struct LabelJob {
    std::shared_ptr<const PrintedLabel> label;
    bool picture = false;  // false: the record alone
    size_t bytes = 0;      // what the label holds
  };
  // Hands a printed label to the label writer (the serving thread).
  void QueueLabel(const PrintedLabel& label);
  // Writes the queued labels in order until told to stop and all are written.
  void RunLabelWriter();
  void WriteLabelFiles(LabelJob job);
  // The record in the output folder; its path, or empty when it could not be written.
  std::string WriteLabelRecord(const PrintedLabel& label);
  // The picture beside the record at `recordPath` (none when empty) and to the queue.
  void WriteLabelPicture(const PrintedLabel& label, const std::string& recordPath);
  // Whether printed labels go anywhere: the output folder or a queue.
  bool KeepsLabels() const { return !options_.outDir.empty() || !options_.forwardQueue.empty(); }
  // A whole file through the write seam; false with errno set.
  bool WriteAll(int fd, const std::string& bytes) const;
  void SaveIfDue(int64_t now, bool force);
  int WaitMs(int64_t now) const;
  Transport* TransportFor(InterfaceKind kind);
  void CloseAll();

  PrinterOptions options_;
  mutable std::mutex mutex_;  // guards everything the loop touches
  std::unique_ptr<PrinterCore> core_;
  std::unique_ptr<TcpServer> tcp_;
  std::unique_ptr<PtyPort> serial_;
  std::unique_ptr<PtyPort> parallel_;
  std::unique_ptr<FakeUsbDevice> usb_;
  std::vector<Transport*> transports_;
  ReplyScheduler scheduler_;
  std::thread thread_;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  bool dirty_ = false;
  int64_t nextSaveMs_ = 0;
  uint64_t nextRecord_ = 1;
  mutable std::mutex errorMutex_;  // guards fileError_, set from both threads
  std::string fileError_;
  std::mutex logMutex_;  // one log line at a time from either thread

  // The label writer: records and pictures are written on a thread of their own, so that
  // no reply waits behind a drawing.
  std::thread writer_;
  mutable std::mutex jobsMutex_;  // guards the fields below
  std::condition_variable jobsReady_;
  std::condition_variable jobsRoom_;
  std::deque<LabelJob> jobs_;
  size_t queuedPictures_ = 0;
  size_t queuedLabelBytes_ = 0;
  uint64_t picturesSkipped_ = 0;
  bool stopWriter_ = false;
  // Draws each label recorded to the output folder; made with the first one, and used
  // by the label writer alone.
  std::unique_ptr<render::LabelRenderer> renderer_;
  // Where drawn labels are printed with --forward; made at start, stopped after the writer.
  std::unique_ptr<LabelForwarder> forwarder_;
};

}  // namespace qm::printer
