#include "cli/demo_printer.h"

#include "printer/virtual_printer.h"

namespace qm::cli {

struct DemoPrinter::State {
  explicit State(printer::PrinterOptions options) : printer(std::move(options)) {}
  printer::VirtualPrinter printer;
};

DemoPrinter::DemoPrinter(std::unique_ptr<State> state) : state_(std::move(state)) {}

DemoPrinter::~DemoPrinter() { state_->printer.Stop(); }

std::unique_ptr<DemoPrinter> DemoPrinter::Start(std::string& error) {
  printer::PrinterOptions options;
  // Loopback only, on whatever port is free; no files, so a demo leaves nothing behind.
  options.listen = "127.0.0.1:0";
  auto state = std::make_unique<State>(std::move(options));
  if (!state->printer.Start(error)) return nullptr;
  return std::unique_ptr<DemoPrinter>(new DemoPrinter(std::move(state)));
}

uint32_t DemoPrinter::tcpPort() const { return state_->printer.tcpPort(); }

}  // namespace qm::cli
