// The global connection options on the command line, read back as a ConnectionRequest.
#pragma once

#include <cstdint>
#include <string>

#include "cli/connection_plan.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace qm::cli {

// Declares the global connection options on the program's command line and reads them
// back after parsing.
class ConnectionOptions {
 public:
  ConnectionOptions() = default;
  ConnectionOptions(const ConnectionOptions&) = delete;
  ConnectionOptions& operator=(const ConnectionOptions&) = delete;

  void AddTo(CLI::App& app);
  // The request, with the options that were not given left empty.
  ConnectionRequest Request() const;

 private:
  std::string port_, ip_, parity_, stopBits_;
  int64_t tcpPort_ = 0, baud_ = 0, dataBits_ = 0;
  bool demo_ = false;
  bool noDivert_ = false;
  CLI::Option* portOption_ = nullptr;
  CLI::Option* ipOption_ = nullptr;
  CLI::Option* tcpPortOption_ = nullptr;
  CLI::Option* baudOption_ = nullptr;
  CLI::Option* parityOption_ = nullptr;
  CLI::Option* dataBitsOption_ = nullptr;
  CLI::Option* stopBitsOption_ = nullptr;
};

}  // namespace qm::cli
