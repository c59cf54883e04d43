// The downloads: any file sent unchanged, and the printer's image store.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/progress.h"
#include "core/prompter.h"
#include "core/strings.h"
#include "downloads/file_source.h"
#include "link/printer_link.h"

namespace qm {

// Serial, parallel and USB take a download in writes of this size.
inline constexpr size_t kDownloadPieceBytes = 2048;
// The serial time-out constants while a download runs.
inline constexpr uint32_t kDownloadTimeoutMs = 20000;

struct TransferOptions {
  // Hears the bytes sent so far and the total (0 when unknown) after every piece, or every
  // paced chunk on Ethernet; once cancelled the transfer stops before the next one.
  Progress* progress = nullptr;
  int pauseMs = -1;  // Ethernet pause after each chunk; negative: the link's own
  // Image Store: asked once the image's bytes are out, before the check print. A text is
  // why the printer did not keep the image: the store fails with it and prints no check.
  std::function<std::string()> confirmStored;
};

enum class TransferStatus {
  kDone,
  kFailed,     // a write failed, the printer stopped taking data or the file stopped reading
  kCancelled,  // stopped between two pieces
  kRefused,    // no file, an unreadable file or an empty name: nothing was sent
};

struct TransferResult {
  TransferStatus status = TransferStatus::kRefused;
  uint64_t sent = 0;   // file bytes the printer took
  uint64_t total = 0;  // the file's length when sending began; 0 when unknown
  std::string why;     // what failed, for the command line
  bool done() const { return status == TransferStatus::kDone; }
};

// Sends `source` as the file transfer sends it, between the hold-open and time-out steps
// of the caller: 2048-byte writes, or on Ethernet one paced write. `limit` caps the bytes.
TransferResult SendFileBytes(PrinterLink& link, ByteSource& source, std::optional<uint64_t> limit,
                             const TransferOptions& options);

// File Transfer: `path` sent byte for byte, the link held open and its time-outs raised
// meanwhile, a serial or parallel port reopened after. Shows 108, 106, 107 or the failure.
TransferResult TransferFile(PrinterLink& link, Prompter& prompter, const StringTable& strings,
                            const std::string& path, const TransferOptions& options = {});
// The same for a source already open (standard input); shows nothing.
TransferResult TransferSource(PrinterLink& link, ByteSource& source, const TransferOptions& options = {});

// Image Store: the header with the count of the bytes that follow, the file's bytes and
// the check print. Shows 146, 106, 145 or the failure. An empty name is refused with 147.
TransferResult StoreImage(PrinterLink& link, Prompter& prompter, const StringTable& strings,
                          const std::string& path, const std::string& name,
                          const TransferOptions& options = {});

// The image commands that only send; false when the name is empty (147 shown) or the
// write failed.
bool DeleteImage(PrinterLink& link, Prompter& prompter, const StringTable& strings, const std::string& name);
bool DeleteAllImages(PrinterLink& link);
bool RequestImageInformation(PrinterLink& link);
bool RecallImage(PrinterLink& link, Prompter& prompter, const StringTable& strings, const std::string& x,
                 const std::string& y, const std::string& name);

// Whether a write went through whole: 1 on serial, parallel and USB, every byte on Ethernet.
bool WriteWentThrough(const PrinterLink& link, int result, size_t size);

// "N of M bytes" (or "N bytes" with no known total), for messages.
std::string BytesCount(uint64_t sent, uint64_t total);

}  // namespace qm
