// Keeping the system's print queues off a serial or parallel port while we hold it.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Queue name to the port text it had before we pointed it away.
using QueueMap = std::map<std::string, std::string>;

struct PrintQueue {
  std::string name;
  std::string port;  // may list several ports, comma-separated
};

// The port text a diverted queue points at, where the spooler does not say otherwise.
inline constexpr const char* kDivertedPort = "FILE:";

// The system's print spooler, as far as diversion needs it.
class Spooler {
 public:
  enum class SetResult {
    kDone,
    kNotOpened,  // the queue could not be opened: skip it, go on with the others
    kFailed,     // the spooler failed: change no further queue in this call
  };
  virtual ~Spooler() = default;
  // Every local queue, in the spooler's order.
  virtual std::vector<PrintQueue> LocalQueues() = 0;
  // Points queue `name` at `port`.
  virtual SetResult SetQueuePort(const std::string& name, const std::string& port) = 0;
  // Whether a queue with port text `port` prints to the port the main window calls
  // `portName` ("COM1:", "LPT1:"): a plain, case-sensitive substring unless the spooler
  // names its ports otherwise.
  virtual bool UsesPort(const std::string& port, const std::string& portName) const {
    return port.find(portName) != std::string::npos;
  }
  // The port text that keeps a queue's jobs off every port.
  virtual std::string DivertedPort() const { return kDivertedPort; }
  // What went wrong since the last call, in one line to show once; empty when all went well.
  virtual std::string TakeNotice() { return {}; }
};

// A system without a spooler we can reach: no queues.
class NoSpooler : public Spooler {
 public:
  std::vector<PrintQueue> LocalQueues() override { return {}; }
  SetResult SetQueuePort(const std::string&, const std::string&) override {
    return SetResult::kNotOpened;
  }
};

// Whether the device URI `uri` names the device `path`: `path` occurs in it and is not
// merely the start of a longer name ("/dev/ttyS1" is not in "serial:/dev/ttyS10").
bool NamesDevice(std::string_view uri, std::string_view path);

// Points every local queue on port `portName` at the spooler's diverted port, recording
// each one's previous port text in `map` (the first recorded value is kept).
void DivertQueues(const std::string& portName, QueueMap& map, Spooler& spooler);

// Gives every recorded queue its port text back, then empties `map`.
void RestoreQueues(QueueMap& map, Spooler& spooler);

}  // namespace qm
