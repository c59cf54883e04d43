// A way for bytes to reach the printer: a TCP listener or a pseudo-terminal port.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "printer/printer_core.h"

namespace qm::printer {

// Bytes that arrived, and where from.
using Receiver = std::function<void(std::string_view bytes, const Origin& origin)>;
// A stream of bytes that has ended: a TCP connection closed.
using StreamEnded = std::function<void(const Origin& origin)>;

class Transport {
 public:
  // The most a transport keeps queued for a peer that does not read.
  static constexpr size_t kMaxQueuedBytes = 1024 * 1024;
  // Bytes taken from a descriptor in one go.
  static constexpr size_t kReadChunk = 64 * 1024;

  virtual ~Transport() = default;
  // The interface kind its commands count as arriving over.
  virtual InterfaceKind kind() const = 0;
  // Appends the descriptors to wait on.
  virtual void Collect(std::vector<pollfd>& fds) = 0;
  // Handles what poll reported for the `count` descriptors that Collect appended last.
  virtual void Service(const pollfd* fds, size_t count, const Receiver& receive) = 0;
  // Queues bytes for `channel`; `startsReply` marks the first piece of a new reply. False
  // when the channel has gone or its queue is full.
  virtual bool Send(uint64_t channel, std::string_view bytes, bool startsReply) = 0;

  // Told when one of its streams ends while the port stays open (a connection closed or
  // let go); a port without connections is one stream that never does.
  void SetStreamEnded(StreamEnded handler) { streamEnded_ = std::move(handler); }

 protected:
  StreamEnded streamEnded_;
};

}  // namespace qm::printer
