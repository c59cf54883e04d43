// Keeping the system's print queues off a serial or parallel port while we hold it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qm {

// Queue name to the port text it had before we pointed it away.
using QueueMap = std::map<std::string, std::string>;

struct PrintQueue {
  std::string name;
  std::string port;  // may list several ports, comma-separated
};

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
};

// A system without a spooler we can reach: no queues.
class NoSpooler : public Spooler {
 public:
  std::vector<PrintQueue> LocalQueues() override { return {}; }
  SetResult SetQueuePort(const std::string&, const std::string&) override {
    return SetResult::kNotOpened;
  }
};

// The port text a diverted queue points at.
inline constexpr const char* kDivertedPort = "FILE:";

// Points every local queue whose port text contains `portName` at the file port, recording
// each one's previous port text in `map` (the first recorded value is kept).
void DivertQueues(const std::string& portName, QueueMap& map, Spooler& spooler);

// Gives every recorded queue its port text back, then empties `map`.
void RestoreQueues(QueueMap& map, Spooler& spooler);

}  // namespace qm
