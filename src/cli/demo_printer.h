// The virtual printer that --demo talks to, running inside this program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qm::cli {

class DemoPrinter {
 public:
  // Starts a virtual printer on a free loopback TCP port; null, with `error` set, when it
  // cannot listen.
  static std::unique_ptr<DemoPrinter> Start(std::string& error);
  ~DemoPrinter();
  DemoPrinter(const DemoPrinter&) = delete;
  DemoPrinter& operator=(const DemoPrinter&) = delete;

  uint32_t tcpPort() const;

 private:
  struct State;
  explicit DemoPrinter(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace qm::cli
