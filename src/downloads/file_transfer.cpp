#include "downloads/file_transfer.h"

#include <algorithm>
#include <utility>

#include "downloads/image_commands.h"

namespace qm {

namespace {

SerialTimeouts DownloadTimeouts() {
  SerialTimeouts t;
  t.readTotalConstantMs = kDownloadTimeoutMs;
  t.writeTotalConstantMs = kDownloadTimeoutMs;
  return t;
}

// A held serial or parallel port is closed by the end of the hold: take it back.
void Reopen(PrinterLink& link) {
  const InterfaceKind kind = link.GetInterfaceKind();
  if (kind == kSerial || kind == kParallel) link.Open();
}

std::string FailureText(const char* what, const TransferResult& r) {
  std::string text = std::string(what) + " failed after " + BytesCount(r.sent, r.total) + " were sent.";
  if (!r.why.empty()) text += "\n" + r.why;
  return text;
}

// Cancelled and failed downloads say so with the count; completion is the numbered string.
void ShowOutcome(Prompter& prompter, const StringTable& strings, const TransferResult& r, const char* what,
                 int doneId) {
  switch (r.status) {
    case TransferStatus::kDone:
      prompter.Show(NumberedMessage(strings, doneId, Icon::kInformation));
      break;
    case TransferStatus::kFailed:
      prompter.Show(Message{FailureText(what, r), Icon::kExclamation, {}, 0});
      break;
    case TransferStatus::kCancelled:
      prompter.Show(Message{std::string(what) + " was cancelled after " + BytesCount(r.sent, r.total) +
                                " were sent.",
                            Icon::kInformation, {}, 0});
      break;
    case TransferStatus::kRefused:
      break;
  }
}

}  // namespace

std::string BytesCount(uint64_t sent, uint64_t total) {
  std::string text = std::to_string(sent);
  if (total) text += " of " + std::to_string(total);
  return text + (sent == 1 && !total ? " byte" : " bytes");
}

bool WriteWentThrough(const PrinterLink& link, int result, size_t size) {
  if (link.GetInterfaceKind() == kEthernet) return result >= 0 && static_cast<size_t>(result) == size;
  return result == 1;
}

namespace {

// Reports and says whether to go on.
bool GoOn(Progress* progress, uint64_t sent, uint64_t total) {
  if (!progress) return true;
  progress->Report(sent, total);
  return !progress->Cancelled();
}

}  // namespace

TransferResult SendFileBytes(PrinterLink& link, ByteSource& source, std::optional<uint64_t> limit,
                             const TransferOptions& options) {
  TransferResult r;
  r.total = limit ? *limit : source.size().value_or(0);
  uint64_t taken = 0;  // bytes read from the file
  const auto next = [&](char* buffer, size_t max) -> size_t {
    if (limit) max = static_cast<size_t>(std::min<uint64_t>(max, *limit - taken));
    const size_t got = max ? source.Read(buffer, max) : 0;
    taken += got;
    return got;
  };
  // Whether the file gave every byte it should: a read error, or fewer than the count
  // announced in an image header, is a failure even when the printer took them all.
  const auto shortOfFile = [&] {
    if (source.failed()) return "the file could not be read after " + std::to_string(taken) + " bytes";
    if (limit && taken < *limit) return "the file ended after " + std::to_string(taken) + " bytes";
    return std::string();
  };

  if (link.GetInterfaceKind() == kEthernet) {
    bool cancelled = false;
    const auto heard = [&](uint64_t handed) {
      // The last chunk is no reason to stop: it has already gone.
      if (GoOn(options.progress, handed, r.total) || (r.total && handed >= r.total)) return true;
      cancelled = true;
      return false;
    };
    r.sent = link.WriteStream(next, heard, options.pauseMs);
    // A link that stopped early left the rest of the file unread: that is no short file,
    // and the link says what happened.
    r.why = r.sent == taken ? shortOfFile() : std::string();
    // A connection that never came up took nothing and read nothing: bytes left in the file
    // mean the transfer did not happen.
    char probe = 0;
    if (!cancelled && r.sent == taken && next(&probe, 1) > 0) {
      r.status = TransferStatus::kFailed;
      r.why = link.lastError();
      return r;
    }
    if (link.lastFailure() == LinkFailure::kCancelled && r.sent != taken) cancelled = true;
    if (cancelled) {
      r.status = r.sent == taken ? TransferStatus::kCancelled : TransferStatus::kFailed;
    } else {
      r.status = r.sent == taken && r.why.empty() ? TransferStatus::kDone : TransferStatus::kFailed;
    }
    if (r.status == TransferStatus::kFailed && r.why.empty()) r.why = link.lastError();
    return r;
  }

  std::string piece(kDownloadPieceBytes, '\0');
  bool stopAsked = false;
  for (;;) {
    const size_t got = next(piece.data(), piece.size());
    if (got == 0) break;
    if (stopAsked) {
      r.status = TransferStatus::kCancelled;
      return r;
    }
    if (!WriteWentThrough(link, link.Write(piece.data(), static_cast<int>(got)), got)) {
      // Cancel during the piece: the rest of it was not waited for, and that is no failure.
      r.status = link.lastFailure() == LinkFailure::kCancelled ? TransferStatus::kCancelled : TransferStatus::kFailed;
      r.why = link.lastError();
      return r;
    }
    r.sent += got;
    if (!GoOn(options.progress, r.sent, r.total)) stopAsked = true;
  }
  r.why = shortOfFile();
  r.status = r.why.empty() ? TransferStatus::kDone : TransferStatus::kFailed;
  return r;
}

TransferResult TransferSource(PrinterLink& link, ByteSource& source, const TransferOptions& options) {
  link.SetHoldOpen(true);
  // The link's normal time-outs come back afterwards (and with every reopen).
  const SerialTimeouts normal = link.timeouts();
  link.SetTimeouts(DownloadTimeouts());
  TransferResult r = SendFileBytes(link, source, std::nullopt, options);
  link.SetTimeouts(normal);
  link.SetHoldOpen(false);
  Reopen(link);
  return r;
}

TransferResult TransferFile(PrinterLink& link, Prompter& prompter, const StringTable& strings,
                            const std::string& path, const TransferOptions& options) {
  if (path.empty()) {
    prompter.Show(NumberedMessage(strings, sid::kSelectBinaryFile, Icon::kExclamation));
    return {};
  }
  // The file may have gone since it was chosen.
  std::optional<FileSource> source = FileSource::Open(path);
  if (!source) {
    prompter.Show(NumberedMessage(strings, sid::kCantOpenFile, Icon::kExclamation));
    return {};
  }
  TransferResult r = TransferSource(link, *source, options);
  ShowOutcome(prompter, strings, r, "Binary file download", sid::kBinaryDownloadDone);
  return r;
}

TransferResult StoreImage(PrinterLink& link, Prompter& prompter, const StringTable& strings,
                          const std::string& path, const std::string& name, const TransferOptions& options) {
  if (path.empty()) {
    prompter.Show(NumberedMessage(strings, sid::kSelectPcxFiles, Icon::kExclamation));
    return {};
  }
  std::optional<FileSource> source = FileSource::Open(path);
  if (!source) {
    prompter.Show(NumberedMessage(strings, sid::kCantOpenFile, Icon::kExclamation));
    return {};
  }
  if (name.empty()) {
    prompter.Show(NumberedMessage(strings, sid::kTypeImageName, Icon::kExclamation));
    return {};
  }
  // The header counts the bytes that follow it: the file's length now, not at browse time,
  // and exactly that many are sent, or the printer would read commands as image data.
  const uint64_t count = source->size().value_or(0);
  link.SetHoldOpen(true);
  TransferResult r;
  r.total = count;
  const std::string header = ImageStoreHeader(count, name);
  if (!WriteWentThrough(link, link.Write(header), header.size())) {
    r.status = TransferStatus::kFailed;
    r.why = link.lastError();
  } else {
    r = SendFileBytes(link, *source, count, options);
  }
  if (r.done() && options.confirmStored) {
    if (std::string refused = options.confirmStored(); !refused.empty()) {
      r.status = TransferStatus::kFailed;
      r.why = std::move(refused);
    }
  }
  // An image cut short or refused gets no check print: it would be taken for image bytes,
  // or print a label without the image.
  if (r.done()) {
    const std::string check = ImageStoreCheckPrint(name);
    if (!WriteWentThrough(link, link.Write(check), check.size())) {
      r.status = TransferStatus::kFailed;
      r.why = "the check print did not go out: " + link.lastError();
    }
  }
  link.SetHoldOpen(false);
  Reopen(link);
  ShowOutcome(prompter, strings, r, "PCX file download", sid::kPcxDownloadDone);
  return r;
}

namespace {

bool WriteCommand(PrinterLink& link, const std::string& bytes) {
  return WriteWentThrough(link, link.Write(bytes), bytes.size());
}

bool NameGiven(Prompter& prompter, const StringTable& strings, const std::string& name) {
  if (!name.empty()) return true;
  prompter.Show(NumberedMessage(strings, sid::kTypeImageName, Icon::kExclamation));
  return false;
}

}  // namespace

bool DeleteImage(PrinterLink& link, Prompter& prompter, const StringTable& strings, const std::string& name) {
  return NameGiven(prompter, strings, name) && WriteCommand(link, ImageDeleteCommand(name));
}

bool DeleteAllImages(PrinterLink& link) { return WriteCommand(link, ImageDeleteAllCommand()); }

bool RequestImageInformation(PrinterLink& link) { return WriteCommand(link, ImageInformationCommand()); }

bool RecallImage(PrinterLink& link, Prompter& prompter, const StringTable& strings, const std::string& x,
                 const std::string& y, const std::string& name) {
  return NameGiven(prompter, strings, name) && WriteCommand(link, ImageRecallCommand(x, y, name));
}

}  // namespace qm
