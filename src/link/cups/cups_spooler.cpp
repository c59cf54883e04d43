#include "link/cups/cups_spooler.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <memory>

namespace qm {

namespace {

constexpr int kConnectMs = 3000;
constexpr double kRequestSeconds = 10.0;

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Http = std::unique_ptr<http_t, HttpClose>;
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

// Nobody is there to type a password: a request that needs one is refused instead of
// waiting on the terminal.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

// A server that stops answering ends the request instead of holding the window.
int GiveUp(http_t*, void*) { return 0; }

Http Connect(int timeoutMs) {
  cupsSetPasswordCB2(NoPassword, nullptr);
  Http http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         timeoutMs, nullptr));
  if (http) httpSetTimeout(http.get(), kRequestSeconds, GiveUp, nullptr);
  return http;
}

std::string ServerName() {
  const char* server = cupsServer();
  return server[0] == '/' ? server : std::string(server) + ":" + std::to_string(ippPort());
}

// Refusals that concern one queue; anything else means the server itself is out of reach.
bool QueueRefused(ipp_status_t status, bool answered) {
  return answered || status == IPP_STATUS_ERROR_NOT_AUTHORIZED || status == IPP_STATUS_ERROR_FORBIDDEN ||
         status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED || status == IPP_STATUS_ERROR_NOT_FOUND ||
         status == IPP_STATUS_ERROR_NOT_POSSIBLE || status == IPP_STATUS_ERROR_BAD_REQUEST;
}

std::string RefusalReason(ipp_status_t status) {
  if (status == IPP_STATUS_ERROR_NOT_AUTHORIZED || status == IPP_STATUS_ERROR_FORBIDDEN ||
      status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED) {
    return "not authorised to change print queues";
  }
  return cupsLastErrorString();
}

}  // namespace

CupsSpooler::CupsSpooler(DeviceMap devices) : devices_(std::move(devices)) {}

bool CupsSpooler::ServerAnswers(int timeoutMs) { return Connect(timeoutMs) != nullptr; }

std::vector<PrintQueue> CupsSpooler::LocalQueues() {
  std::vector<PrintQueue> queues;
  Http http = Connect(kConnectMs);
  if (!http) {
    if (serverProblem_.empty()) serverProblem_ = "no answer from " + ServerName();
    return queues;
  }
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  static const char* const kAttributes[] = {"printer-name", "device-uri", "printer-type"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                kAttributes);
  const Ipp response(cupsDoRequest(http.get(), request, "/"));
  const ipp_status_t status = cupsLastError();
  if (!response || status > IPP_STATUS_OK_CONFLICTING) {
    // The server says "not found" when it has no queues at all.
    if (status != IPP_STATUS_ERROR_NOT_FOUND && serverProblem_.empty()) {
      serverProblem_ = ServerName() + ": " + cupsLastErrorString();
    }
    return queues;
  }
  // One printer group after another; a separator (no group) stands between two.
  ipp_attribute_t* attribute = ippFirstAttribute(response.get());
  while (attribute) {
    while (attribute && ippGetGroupTag(attribute) != IPP_TAG_PRINTER) attribute = ippNextAttribute(response.get());
    PrintQueue queue;
    int type = 0;
    for (; attribute && ippGetGroupTag(attribute) == IPP_TAG_PRINTER; attribute = ippNextAttribute(response.get())) {
      const std::string name = ippGetName(attribute) ? ippGetName(attribute) : "";
      if (name == "printer-name" && ippGetValueTag(attribute) == IPP_TAG_NAME) {
        queue.name = ippGetString(attribute, 0, nullptr);
      } else if (name == "device-uri" && ippGetValueTag(attribute) == IPP_TAG_URI) {
        queue.port = ippGetString(attribute, 0, nullptr);
      } else if (name == "printer-type" && ippGetValueTag(attribute) == IPP_TAG_ENUM) {
        type = ippGetInteger(attribute, 0);
      }
    }
    // A class has no port of its own and a remote queue prints on another machine.
    if (!queue.name.empty() && !(type & (CUPS_PRINTER_CLASS | CUPS_PRINTER_REMOTE))) {
      queues.push_back(std::move(queue));
    }
  }
  return queues;
}

Spooler::SetResult CupsSpooler::SetQueuePort(const std::string& name, const std::string& port) {
  Http http = Connect(kConnectMs);
  if (!http) {
    if (serverProblem_.empty()) serverProblem_ = "no answer from " + ServerName();
    return SetResult::kFailed;
  }
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
  char printerUri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, printerUri, sizeof printerUri, "ipp", nullptr, "localhost",
                   ippPort(), "/printers/%s", name.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
  ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, port.c_str());
  const Ipp response(cupsDoRequest(http.get(), request, "/admin/"));
  const ipp_status_t status = cupsLastError();
  if (status <= IPP_STATUS_OK_CONFLICTING) return SetResult::kDone;
  if (QueueRefused(status, response != nullptr)) {
    if (refused_.empty()) refusal_ = RefusalReason(status);
    refused_.push_back(name);
    return SetResult::kNotOpened;
  }
  if (serverProblem_.empty()) serverProblem_ = ServerName() + ": " + cupsLastErrorString();
  return SetResult::kFailed;
}

bool CupsSpooler::UsesPort(const std::string& port, const std::string& portName) const {
  return NamesDevice(port, devices_.PathFor(portName));
}

std::string CupsSpooler::TakeNotice() {
  std::string notice;
  if (!serverProblem_.empty()) notice = "Print queues could not be changed: " + serverProblem_ + ".";
  if (!refused_.empty()) {
    std::string names;
    for (const std::string& name : refused_) names += (names.empty() ? "" : ", ") + name;
    notice += (notice.empty() ? "" : " ") + std::string(refused_.size() == 1 ? "Print queue " : "Print queues ") +
              names + " could not be changed: " + refusal_ + ".";
  }
  serverProblem_.clear();
  refused_.clear();
  refusal_.clear();
  return notice;
}

}  // namespace qm
