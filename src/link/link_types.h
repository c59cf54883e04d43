// Value types shared by the printer link and its callers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qm {

// Which kind of port the link drives; stored as the 32-bit code the tools compare.
using InterfaceKind = int32_t;
inline constexpr InterfaceKind kSerial = 0;
inline constexpr InterfaceKind kParallel = 1;
inline constexpr InterfaceKind kUsb = 2;
inline constexpr InterfaceKind kEthernet = 3;

// Serial parity and stop-bit codes as the main window hands them over.
inline constexpr int32_t kParityNone = 0;
inline constexpr int32_t kParityOdd = 1;
inline constexpr int32_t kParityEven = 2;
inline constexpr int32_t kParityMark = 3;
inline constexpr int32_t kParitySpace = 4;
inline constexpr int32_t kStopBitsOne = 0;
inline constexpr int32_t kStopBitsOneAndHalf = 1;
inline constexpr int32_t kStopBitsTwo = 2;

// The serial time-out record: a write may take constant + multiplier x bytes in all; a read
// waits constant + multiplier x bytes for its first byte (or, its shape known, for the whole
// reply). A non-zero interval is the longest quiet gap inside a reply of unknown shape. On
// Ethernet the write constant is how long the printer may take no data before a send fails.
struct SerialTimeouts {
  uint32_t readIntervalMs = 0;
  uint32_t readTotalMultiplierMs = 1;
  uint32_t readTotalConstantMs = 3000;
  uint32_t writeTotalMultiplierMs = 1;
  uint32_t writeTotalConstantMs = 3000;

  bool operator==(const SerialTimeouts&) const = default;
};

// Why the last open, write or read failed, beside the text of `lastError`, so a caller
// decides what to say (or to say nothing after a Cancel) without reading the text.
enum class LinkFailure {
  kNone,
  kUnknownPort,     // the port name names no kind of port
  kNoDevice,        // no device for the port, or no USB printer found
  kOpenFailed,      // the device would not open
  kNoSocket,        // no socket could be made
  kConnectFailed,   // the printer did not take the connection
  kPortFailed,      // the port refused a write or failed a read
  kWriteIncomplete, // the retries ended with bytes unsent
  kStalled,         // the printer stopped taking data
  kBroken,          // the connection broke during a send
  kNoReply,         // nothing came before the deadline
  kCancelled,       // the operator stopped it; nothing more was written
};

// What tells the link that a reply is whole, so that it neither cuts a reply delayed in
// transit nor waits out one that is already complete.
enum class ReplyEnd {
  kUnknown,  // whole after a quiet gap long enough for a real network
  kText,     // a text reply that may or may not end in CR LF: whole at its CR LF, or after
             // the quiet gap that a bare reply needs
  kLine,     // whole at its CR LF (or at the count): only a reply that always ends so
  kCount,    // whole at the count: a switch byte, a distribution
};

// Every wait and size limit of the link; tests shorten the waits, the defaults are the
// printer's own.
struct LinkTiming {
  SerialTimeouts serialDefaults{};  // applied by every serial open
  int writeRetries = 3;             // retries after a short write
  int writeRetryPauseMs = 10;       // Clock pause before each retry
  int serialQuietGapMs = 40;        // a reply of unknown shape is complete after this silence
  int usbReadWaitMs = 3000;         // USB read deadline
  int usbQuietGapMs = 8;            // unknown shape: silence after a reply ending in CR LF
  int usbLongGapMs = 50;            // unknown shape: silence after any other bytes
  int tcpConnectWaitMs = 5000;
  int tcpReadWaitMs = 5000;         // Ethernet read deadline
  int tcpSplitGapMs = 3;            // unknown shape: silence after a reply ending in CR LF
  // Unknown shape, or a text reply without its CR LF: the silence after bytes a network may
  // have split. Every connection is fresh, so the peer acknowledges at once and a reply
  // written in two pieces arrives a round trip apart; 30 ms covers a LAN many times over.
  int tcpLongGapMs = 30;
  size_t tcpChunkBytes = 4096;
  int tcpChunkPauseMs = 500;        // Clock pause after a full chunk that more data follows
  int tcpReadCap = 32;              // bytes one Ethernet read returns at most
  int tcpSendBufferBytes = 0;       // the link socket's send buffer; 0 the system's (tests)
};

}  // namespace qm
