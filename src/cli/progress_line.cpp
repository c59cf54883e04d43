#include "cli/progress_line.h"

#include <ostream>

#include "core/clock.h"
#include "downloads/file_transfer.h"

namespace qm::cli {

namespace {

// A byte count's line is redrawn no more often than this, however small the pieces.
constexpr int64_t kRedrawMs = 200;

std::string Rate(double bytesPerSecond) {
  const double kib = bytesPerSecond / 1024;
  const int64_t tenths = static_cast<int64_t>(kib * 10 + 0.5);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " KiB/s";
}

}  // namespace

ProgressLine::ProgressLine(Session& session, const InterruptGuard& guard, std::string what, Style style,
                           std::string unit)
    : session_(session),
      guard_(guard),
      what_(std::move(what)),
      style_(style),
      unit_(std::move(unit)),
      started_(MonotonicMs()),
      drawn_(-kRedrawMs) {}

void ProgressLine::Report(uint64_t done, uint64_t total) {
  done_ = done;
  total_ = total;
  Draw(false);
}

void ProgressLine::Finish() {
  if (!session_.progress) return;
  if (style_ == Style::kBytes) Draw(true);
  *session_.progress << '\n' << std::flush;
}

void ProgressLine::Draw(bool last) {
  if (!session_.progress) return;
  if (style_ == Style::kPieces) {
    *session_.progress << '\r' << what_ << ": " << done_ << " of " << total_ << " " << unit_ << " sent";
    session_.progress->flush();
    return;
  }
  const int64_t now = MonotonicMs();
  if (!last && now - drawn_ < kRedrawMs) return;
  drawn_ = now;
  std::string line = what_ + ": " + BytesCount(done_, total_);
  const double seconds = static_cast<double>(now - started_) / 1000;
  if (seconds > 0 && done_ > 0) {
    const double rate = static_cast<double>(done_) / seconds;
    line += ", " + Rate(rate);
    if (total_ > done_) {
      line += ", " + std::to_string(static_cast<int64_t>(static_cast<double>(total_ - done_) / rate + 0.999)) + " s left";
    }
  }
  // Blanks wipe what a longer line before it left.
  *session_.progress << '\r' << line << "          ";
  session_.progress->flush();
}

}  // namespace qm::cli
