#include "link/cups/cups_print.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <memory>

namespace qm {

namespace {

constexpr int kConnectMs = 5000;
constexpr double kRequestSeconds = 30.0;

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpClose>;

// Nobody is there to type a password: a queue that wants one refuses the job.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

// A server that stops answering fails the job instead of holding the labels behind it.
int GiveUp(http_t*, void*) { return 0; }

std::string ServerName() {
  const char* server = cupsServer();
  return server[0] == '/' ? server : std::string(server) + ":" + std::to_string(ippPort());
}

}  // namespace

bool PrintDocument(const std::string& queue, const std::string& title, const std::string& format,
                   std::string_view data, const std::vector<std::pair<std::string, std::string>>& options,
                   std::string& error) {
  cupsSetPasswordCB2(NoPassword, nullptr);
  Http http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMs, nullptr));
  if (!http) {
    error = "the print server " + ServerName() + " cannot be reached: " + cupsLastErrorString();
    return false;
  }
  httpSetTimeout(http.get(), kRequestSeconds, GiveUp, nullptr);

  cups_option_t* list = nullptr;
  int count = 0;
  for (const auto& [name, value] : options) count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
  const int job = cupsCreateJob(http.get(), queue.c_str(), title.c_str(), count, list);
  cupsFreeOptions(count, list);
  if (job == 0) {
    const std::string why = cupsLastErrorString();
    // For a queue the server does not have, the library's own word is "No such file or directory".
    cups_dest_t* dest = cupsGetNamedDest(http.get(), queue.c_str(), nullptr);
    error = "the print server " + ServerName() + (dest ? " refused the job: " + why : std::string(" has no such queue"));
    cupsFreeDests(dest ? 1 : 0, dest);
    return false;
  }
  const auto cancel = [&](const std::string& why) {
    error = why;
    cupsCancelJob2(http.get(), queue.c_str(), job, 0);
    return false;
  };
  if (cupsStartDocument(http.get(), queue.c_str(), job, title.c_str(), format.c_str(), 1) != HTTP_STATUS_CONTINUE) {
    return cancel(std::string("job ") + std::to_string(job) + " refused its document: " + cupsLastErrorString());
  }
  if (cupsWriteRequestData(http.get(), data.data(), data.size()) != HTTP_STATUS_CONTINUE) {
    cupsFinishDocument(http.get(), queue.c_str());
    return cancel(std::string("job ") + std::to_string(job) + " lost its document: " + cupsLastErrorString());
  }
  if (cupsFinishDocument(http.get(), queue.c_str()) != IPP_STATUS_OK) {
    return cancel(std::string("job ") + std::to_string(job) + ": " + cupsLastErrorString());
  }
  return true;
}

}  // namespace qm
