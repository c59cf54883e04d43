#include "cli/connection.h"

#include "cli/usb_node_view.h"
#include "core/strings.h"
#include "link/connect.h"
#include "link/cups/system_spooler.h"
#include "printer/demo_printer.h"

namespace qm::cli {

namespace {

// What the print spooler could not do: said, and the command goes on.
Message SpoolerMessage(std::string text, Icon icon) {
  Message message;
  message.text = std::move(text);
  message.icon = icon;
  return message;
}

}  // namespace

Connection::Connection() = default;

Connection::~Connection() {
  if (link_) link_->Close();
  // The queues come back once the port is let go, as at Disconnect.
  if (spooler_) {
    RestoreQueues(queues_, *spooler_);
    if (std::string notice = spooler_->TakeNotice(); !notice.empty()) {
      prompter_->Show(SpoolerMessage(std::move(notice), Icon::kExclamation));
    }
  }
}

std::unique_ptr<Connection> Connection::Open(const ConnectionPlan& plan, const CliEnvironment& env,
                                             Clock& clock, Prompter& prompter, Outcome& failure) {
  std::unique_ptr<Connection> connection(new Connection);
  connection->plan_ = plan;
  ConnectionPlan& own = connection->plan_;
  DeviceMap devices = env.devices ? *env.devices : DeviceMap::FromEnvironment();
  if (!own.deviceKey.empty()) devices.Override(own.deviceKey, own.devicePath);

  auto fail = [&](const std::string& reason) {
    prompter.Show(NumberedMessage(EnglishStrings(), sid::kCannotOpenPort, Icon::kExclamation));
    failure = Outcome::PrinterFailed("the port did not open: " + reason);
    return nullptr;
  };

  if (own.usbNode >= 0) {
    std::string error;
    connection->usbView_ = UsbNodeView::Create(devices.usb, own.usbNode, own.devicePath, error);
    if (!connection->usbView_) return fail(error);
    devices.usb = connection->usbView_->roots();
  }
  if (own.demo) {
    std::string error;
    connection->demo_ = std::make_unique<printer::DemoPrinter>();
    const printer::DemoPrinter::Ports ports{own.kind() == kSerial, own.kind() == kUsb};
    if (!connection->demo_->Start(devices, error, ports)) {
      failure = Outcome::PrinterFailed("cannot start the demo printer: " + error);
      return nullptr;
    }
    if (own.kind() == kEthernet) own.tcpPort = connection->demo_->tcpPort();
    own.devicePath = own.kind() == kSerial ? connection->demo_->serialPath() : connection->demo_->usbNodePath();
  }

  if (own.divert) {
    connection->prompter_ = &prompter;
    if (env.spooler) {
      connection->spooler_ = env.spooler;
    } else {
      connection->systemSpooler_ = std::make_unique<SystemSpooler>(devices);
      if (const std::string& notice = connection->systemSpooler_->startNotice(); !notice.empty()) {
        prompter.Show(SpoolerMessage(notice, Icon::kInformation));
      }
      if (connection->systemSpooler_->HasServer()) connection->spooler_ = &connection->systemSpooler_->spooler();
    }
  }

  connection->link_ =
      std::make_unique<PrinterLink>(clock, prompter, EnglishStrings(), env.timing, std::move(devices));
  PrinterLink& link = *connection->link_;
  ConnectRequest request;
  request.portName = own.portName;
  request.serial = own.serial;
  request.address = own.address;
  request.tcpPort = own.tcpPort;
  request.divert = own.divert;
  const bool opened = ConnectLink(link, connection->spooler_, connection->queues_, request);
  if (connection->spooler_) {
    if (std::string notice = connection->spooler_->TakeNotice(); !notice.empty()) {
      prompter.Show(SpoolerMessage(std::move(notice), Icon::kExclamation));
    }
  }
  if (!opened) return fail(link.lastError().empty() ? "no reason given" : link.lastError());
  return connection;
}

}  // namespace qm::cli
