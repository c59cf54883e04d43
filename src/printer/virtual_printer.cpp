#include "printer/virtual_printer.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/clock.h"
#include "printer/escape.h"
#include "printer/label_png.h"
#include "printer/state_file.h"
#include "render/label_renderer.h"

namespace qm::printer {

namespace fs = std::filesystem;

namespace {

// Settings changes are written out at most this often; a burst costs one write.
constexpr int64_t kSaveIntervalMs = 200;

// The highest record number already in `dir` ("label-000042.txt" gives 42).
uint64_t LastRecordNumber(const std::string& dir) {
  uint64_t last = 0;
  std::error_code ec;
  for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() < 11 || name.rfind("label-", 0) != 0 || name.substr(name.size() - 4) != ".txt") continue;
    const std::string digits = name.substr(6, name.size() - 10);
    if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    last = std::max<uint64_t>(last, std::stoull(digits));
  }
  return last;
}

}  // namespace

VirtualPrinter::VirtualPrinter(PrinterOptions options) : options_(std::move(options)) {}

VirtualPrinter::~VirtualPrinter() { Stop(); }

bool VirtualPrinter::Start(std::string& error) {
  Stop();
  stop_ = false;
  StoredState stored = FactoryState(options_.model >= 0 ? options_.model : 1);
  if (!options_.stateFile.empty()) {
    // Claimed first: a second printer, a read-only file or a folder that cannot be
    // written is refused here, naming the file, not found out at the first save.
    if (!ClaimStateFile(options_.stateFile, error)) return false;
    bool exists = false;
    if (!LoadStateFile(options_.stateFile, stored, exists, error)) return false;
    // An explicit model wins over the one the file remembers.
    const int fileModel = stored.modelIndex;
    if (options_.model >= 0) stored.modelIndex = options_.model;
    // A new file is written at once, so a path that cannot be written fails here and not
    // silently later.
    if (!exists && !SaveStateFile(options_.stateFile, stored, error)) return false;
    dirty_ = exists && stored.modelIndex != fileModel;
  }
  if (!options_.outDir.empty()) {
    std::error_code ec;
    fs::create_directories(options_.outDir, ec);
    if (ec) {
      error = options_.outDir + ": " + ec.message();
      return false;
    }
    nextRecord_ = LastRecordNumber(options_.outDir) + 1;
  }

  PrinterCore::Hooks hooks;
  hooks.reply = [this](const Origin& origin, std::string bytes) { OnReply(origin, std::move(bytes)); };
  if (options_.log) hooks.log = [this](std::string line) { Log(line); };
  if (KeepsLabels()) hooks.printed = [this](const PrintedLabel& label) { QueueLabel(label); };
  hooks.storedChanged = [this] { dirty_ = true; };
  core_ = std::make_unique<PrinterCore>(stored, std::move(hooks));
  core_->model().SetFaults(options_.faults);
  if (options_.imageStallMs > 0) core_->SetImageStallMs(options_.imageStallMs);

  const auto fail = [&] {
    CloseAll();
    return false;
  };
  if (options_.listen) {
    tcp_ = std::make_unique<TcpServer>();
    TcpServer::Limits limits;
    limits.maxConnections = options_.maxConnections;
    limits.idleTimeoutMs = options_.idleTimeoutMs;
    if (options_.ownerOnly) limits.ownerOnly = ::getuid();
    tcp_->SetLimits(limits);
    if (!tcp_->Open(*options_.listen, error)) return fail();
    // Each connection is a command stream of its own; what it leaves unfinished goes with it.
    tcp_->SetStreamEnded([this](const Origin& origin) { core_->EndStream(origin); });
    tcp_->SetBusyCheck([this](uint64_t channel) { return core_->MidCommand(kEthernet, channel); });
    tcp_->SetLog([this](const std::string& line) { Log(line); });
    transports_.push_back(tcp_.get());
  }
  if (options_.serial) {
    serial_ = std::make_unique<PtyPort>(kSerial, "serial");
    if (!serial_->Open(options_.serialLink, error)) return fail();
    transports_.push_back(serial_.get());
  }
  if (options_.parallel) {
    parallel_ = std::make_unique<PtyPort>(kParallel, "parallel");
    if (!parallel_->Open(options_.parallelLink, error)) return fail();
    transports_.push_back(parallel_.get());
  }
  if (!options_.usbDir.empty()) {
    usb_ = std::make_unique<FakeUsbDevice>();
    if (!usb_->Open(options_.usbDir, stored.modelIndex, error)) return fail();
    transports_.push_back(&usb_->port());
  }
  if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = std::string("cannot create a pipe: ") + std::strerror(errno);
    return fail();
  }
  if (!options_.forwardQueue.empty()) {
    if (!options_.forwardPrint) {
      error = "queue " + options_.forwardQueue + ": nothing to print labels with";
      return fail();
    }
    // Refusals are logged whether or not --log is given: a label that never comes out of
    // the queue must say why somewhere.
    forwarder_ = std::make_unique<LabelForwarder>(
        options_.forwardQueue, options_.forwardPrint, [this](const std::string& line) { Log(line); },
        options_.forwardBacklog);
  }
  if (KeepsLabels()) {
    stopWriter_ = false;
    writer_ = std::thread([this] { RunLabelWriter(); });
  }
  thread_ = std::thread([this] { Run(); });
  return true;
}

void VirtualPrinter::Stop() {
  const bool wasRunning = thread_.joinable();
  if (wasRunning) {
    stop_ = true;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = ::write(wake_[1], &byte, 1);
    thread_.join();
  }
  if (writer_.joinable()) {
    // Every label printed is written before the printer stops.
    {
      std::lock_guard jobs(jobsMutex_);
      stopWriter_ = true;
    }
    jobsReady_.notify_all();
    writer_.join();
  }
  // Then the queue gets what was drawn, within its grace.
  if (forwarder_) forwarder_->Stop();
  forwarder_.reset();
  std::lock_guard lock(mutex_);
  if (wasRunning && core_) SaveIfDue(0, true);
  CloseAll();
}

void VirtualPrinter::CloseAll() {
  transports_.clear();
  tcp_.reset();
  serial_.reset();
  parallel_.reset();
  usb_.reset();
  for (int& fd : wake_) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void VirtualPrinter::Run() {
  std::vector<pollfd> fds;
  std::vector<size_t> firsts;
  const Receiver receive = [this](std::string_view bytes, const Origin& origin) { core_->Feed(bytes, origin); };
  while (!stop_) {
    fds.clear();
    firsts.clear();
    fds.push_back(pollfd{wake_[0], POLLIN, 0});
    int timeout;
    {
      std::lock_guard lock(mutex_);
      for (Transport* t : transports_) {
        firsts.push_back(fds.size());
        t->Collect(fds);
      }
      timeout = WaitMs(MonotonicMs());
    }
    const int ready = ::poll(fds.data(), fds.size(), timeout);
    if (ready < 0 && errno != EINTR) break;
    if (stop_) break;
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < transports_.size(); ++i) {
      const size_t end = i + 1 < firsts.size() ? firsts[i + 1] : fds.size();
      transports_[i]->Service(&fds[firsts[i]], end - firsts[i], receive);
    }
    const int64_t now = MonotonicMs();
    for (const ReplyPiece& piece : scheduler_.TakeDue(now)) SendPiece(piece);
    // A connection that stopped in the middle of an image goes, and the image with it.
    for (const Origin& stalled : core_->DropStalledImages(now)) {
      if (options_.log) Log(stalled.name + " !! closed, its image stopped coming");
      if (tcp_) tcp_->Disconnect(stalled.channel);
    }
    if (tcp_) tcp_->CloseIdle(now);
    core_->ReportQuietNoise();
    SaveIfDue(now, false);
  }
}

int VirtualPrinter::WaitMs(int64_t now) const {
  int wait = scheduler_.WaitMs(now);
  const auto sooner = [&](int other) {
    if (other >= 0) wait = wait < 0 ? other : std::min(wait, other);
  };
  sooner(core_->WaitMs(now));
  if (tcp_) sooner(tcp_->WaitMs(now));
  if (dirty_ && !options_.stateFile.empty()) {
    const int save = static_cast<int>(std::max<int64_t>(nextSaveMs_ - now, 0));
    wait = wait < 0 ? save : std::min(wait, save);
  }
  return wait;
}

void VirtualPrinter::OnReply(const Origin& origin, std::string bytes) {
  if (options_.silent) {
    if (options_.log) Log(origin.name + " -- silent, reply dropped: " + PrinterCore::LogText(bytes));
    return;
  }
  if (options_.delayMs == 0 && !options_.split) {
    SendPiece(ReplyPiece{origin, std::move(bytes), true});
    return;
  }
  if (!scheduler_.Add(MonotonicMs(), origin, bytes, options_.delayMs, options_.split, options_.splitPauseMs) &&
      options_.log) {
    Log(origin.name + " !! too many replies waiting, dropped: " + PrinterCore::LogText(bytes));
  }
}

Transport* VirtualPrinter::TransportFor(InterfaceKind kind) {
  for (Transport* t : transports_) {
    if (t->kind() == kind) return t;
  }
  return nullptr;
}

void VirtualPrinter::SendPiece(const ReplyPiece& piece) {
  Transport* t = TransportFor(piece.origin.kind);
  const bool sent = t && t->Send(piece.origin.channel, piece.bytes, piece.startsReply);
  if (!options_.log) return;
  if (sent) {
    Log(piece.origin.name + " -> " + PrinterCore::LogText(piece.bytes));
  } else {
    Log(piece.origin.name + " !! reply lost, the peer has gone: " + PrinterCore::LogText(piece.bytes));
  }
}

void VirtualPrinter::Log(const std::string& line) {
  // Stamped inside the lock, so that lines from the two threads keep their time order.
  std::lock_guard lock(logMutex_);
  const std::string stamped = FormatTimestamp(WallClockMs()) + " " + line;
  if (options_.logSink) {
    options_.logSink(stamped);
  } else {
    std::fprintf(stderr, "%s\n", stamped.c_str());
  }
}

void VirtualPrinter::SetFileError(const std::string& error) {
  {
    std::lock_guard lock(errorMutex_);
    fileError_ = error;
  }
  if (options_.log) Log("!! " + error);
}

void VirtualPrinter::QueueLabel(const PrintedLabel& label) {
  LabelJob job;
  // A copy shares the recalled images with the store; both sides only read them.
  job.label = std::make_shared<const PrintedLabel>(label);
  for (const LabelCommand& c : label.commands) job.bytes += c.raw().size() + (c.image ? c.image->size() : 0);
  std::unique_lock lock(jobsMutex_);
  job.picture = queuedPictures_ < options_.pictureQueue;
  if (job.picture) {
    ++queuedPictures_;
  } else {
    // The drawing is behind: the record still goes out in its turn, without a picture.
    ++picturesSkipped_;
    if (options_.log) {
      Log("label " + std::to_string(label.sequence) + ": picture skipped, " + std::to_string(queuedPictures_) +
          " labels are waiting to be drawn; its record is written");
    }
  }
  // A disk slower than the labels come holds the printer back rather than the memory.
  jobsRoom_.wait(lock, [&] { return jobs_.empty() || queuedLabelBytes_ + job.bytes <= kMaxQueuedLabelBytes; });
  queuedLabelBytes_ += job.bytes;
  jobs_.push_back(std::move(job));
  lock.unlock();
  jobsReady_.notify_one();
}

void VirtualPrinter::RunLabelWriter() {
  // Drawing yields to the serving thread: replies first, pictures with what is left.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
  for (;;) {
    std::unique_lock lock(jobsMutex_);
    jobsReady_.wait(lock, [&] { return stopWriter_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    LabelJob job = std::move(jobs_.front());
    jobs_.pop_front();
    if (job.picture) --queuedPictures_;
    queuedLabelBytes_ -= job.bytes;
    lock.unlock();
    jobsRoom_.notify_all();
    WriteLabelFiles(std::move(job));
  }
}

bool VirtualPrinter::WriteAll(int fd, const std::string& bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = options_.labelWrite ? options_.labelWrite(fd, bytes.data() + done, bytes.size() - done)
                                          : ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

void VirtualPrinter::WriteLabelFiles(LabelJob job) {
  std::string recordPath;
  if (!options_.outDir.empty()) {
    recordPath = WriteLabelRecord(*job.label);
    // No picture without its record.
    if (recordPath.empty() && !forwarder_) return;
  }
  if (!job.picture) {
    if (forwarder_) forwarder_->Missed(job.label->sequence, "too many labels were waiting to be drawn");
    return;
  }
  WriteLabelPicture(*job.label, recordPath);
}

std::string VirtualPrinter::WriteLabelRecord(const PrintedLabel& label) {
  const std::string text = FormatLabelRecord(label);
  // Names are the printer's own numbers; an existing record is never overwritten.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string path = options_.outDir + "/" + LabelFileName(nextRecord_++);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd == -1 && errno == EEXIST) continue;
    if (fd == -1) {
      SetFileError(path + ": " + std::strerror(errno));
      return {};
    }
    const bool written = WriteAll(fd, text);
    const int writeErrno = errno;
    if (::close(fd) != 0 && written) {
      SetFileError(path + ": " + std::strerror(errno));
      ::unlink(path.c_str());
      return {};
    }
    if (!written) {
      // A full disk leaves no half record behind, nor a picture without its record.
      SetFileError(path + ": " + std::strerror(writeErrno));
      ::unlink(path.c_str());
      return {};
    }
    return path;
  }
  return {};
}

void VirtualPrinter::WriteLabelPicture(const PrintedLabel& label, const std::string& recordPath) {
  if (!renderer_) renderer_ = std::make_unique<render::LabelRenderer>();
  std::vector<render::Warning> warnings;
  const render::Bitmap bitmap = DrawLabel(*renderer_, label, warnings);
  std::string bytes = render::EncodePng(bitmap);
  if (options_.log) {
    for (const render::Warning& w : warnings) {
      Log("label " + std::to_string(label.sequence) + ", command " + std::to_string(w.line) + ": " + w.text);
    }
  }
  if (forwarder_) {
    if (bytes.empty()) {
      forwarder_->Missed(label.sequence, "the label is empty or could not be encoded");
    } else {
      forwarder_->Offer({label.sequence, bytes, bitmap.width(), bitmap.height()});
    }
  }
  if (recordPath.empty()) return;
  const std::string path = LabelPngName(recordPath);
  if (bytes.empty()) {
    SetFileError(path + ": the label is empty or could not be encoded");
    return;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd == -1) {
    SetFileError(path + ": " + std::strerror(errno));
    return;
  }
  const bool written = WriteAll(fd, bytes);
  const int writeErrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    SetFileError(path + ": " + std::strerror(written ? errno : writeErrno));
    ::unlink(path.c_str());
  }
}

void VirtualPrinter::SaveIfDue(int64_t now, bool force) {
  if (!dirty_ || options_.stateFile.empty()) return;
  if (!force && now < nextSaveMs_) return;
  std::string error;
  if (SaveStateFile(options_.stateFile, core_->model().stored(), error)) {
    dirty_ = false;
  } else {
    SetFileError(error);
  }
  nextSaveMs_ = now + kSaveIntervalMs;
}

std::string VirtualPrinter::tcpAddress() const { return tcp_ ? tcp_->boundAddress() : std::string(); }
uint16_t VirtualPrinter::tcpPort() const { return tcp_ ? tcp_->port() : 0; }
std::string VirtualPrinter::serialPath() const { return serial_ ? serial_->devicePath() : std::string(); }
std::string VirtualPrinter::parallelPath() const { return parallel_ ? parallel_->devicePath() : std::string(); }
std::string VirtualPrinter::usbNodePath() const { return usb_ ? usb_->nodePath() : std::string(); }
std::string VirtualPrinter::usbSysfsRoot() const { return usb_ ? usb_->sysfsRoot() : std::string(); }
std::string VirtualPrinter::usbDevRoot() const { return usb_ ? usb_->devRoot() : std::string(); }

StoredState VirtualPrinter::stored() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->model().stored() : StoredState{};
}

Faults VirtualPrinter::faults() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->model().faults() : Faults{};
}

void VirtualPrinter::SetFaults(const Faults& faults) {
  std::lock_guard lock(mutex_);
  options_.faults = faults;
  if (core_) core_->model().SetFaults(faults);
}

std::vector<PrintedLabel> VirtualPrinter::labels() const {
  std::lock_guard lock(mutex_);
  if (!core_) return {};
  return {core_->labels().begin(), core_->labels().end()};
}

std::vector<ReceivedTally> VirtualPrinter::received() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->received() : std::vector<ReceivedTally>{};
}

uint64_t VirtualPrinter::labelsPrinted() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->model().labelsPrinted() : 0;
}

std::vector<LabelCommand> VirtualPrinter::pendingLabel() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->model().PendingLabel() : std::vector<LabelCommand>{};
}

std::map<std::string, size_t> VirtualPrinter::images() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->model().Images() : std::map<std::string, size_t>{};
}

RfidTag VirtualPrinter::tag() const {
  std::lock_guard lock(mutex_);
  return core_ ? core_->model().volatileState().tag : RfidTag{};
}

std::string VirtualPrinter::lastFileError() const {
  std::lock_guard lock(errorMutex_);
  return fileError_;
}

uint64_t VirtualPrinter::picturesSkipped() const {
  std::lock_guard lock(jobsMutex_);
  return picturesSkipped_;
}

}  // namespace qm::printer
