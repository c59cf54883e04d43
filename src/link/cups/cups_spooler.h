// The print spooler of a Linux system: the local queues of the CUPS server that libcups
// picks (CUPS_SERVER, client.conf), each known by its device URI.
#pragma once

#include <string>
#include <vector>

#include "link/device_map.h"
#include "link/queue_diversion.h"

namespace qm {

class CupsSpooler : public Spooler {
 public:
  // A diverted queue prints into nothing: the one file device a server takes even where
  // it refuses every other. A queue the server will not change stays as it is, and the
  // notice says why.
  static constexpr const char* kNullDevice = "file:///dev/null";

  // `devices` turns "COM1:" and "LPT1:" into the device paths the queues' URIs name.
  explicit CupsSpooler(DeviceMap devices);

  // Whether a CUPS server accepts a connection within `timeoutMs`.
  static bool ServerAnswers(int timeoutMs);

  std::vector<PrintQueue> LocalQueues() override;
  SetResult SetQueuePort(const std::string& name, const std::string& port) override;
  // The URI names the port's device path, as a whole name.
  bool UsesPort(const std::string& port, const std::string& portName) const override;
  std::string DivertedPort() const override { return kNullDevice; }
  std::string TakeNotice() override;

 private:
  DeviceMap devices_;
  std::string serverProblem_;       // the first failure to reach the server since the last notice
  std::vector<std::string> refused_;  // queues the server would not change
  std::string refusal_;             // why the first of them was refused
};

}  // namespace qm
