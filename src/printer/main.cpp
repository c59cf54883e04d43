// quillmark-printer: the virtual printer as a program of its own.
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/cups/cups_print.h"
#include "printer/virtual_printer.h"

int main(int argc, char** argv) {
  using qm::printer::PrinterOptions;
  PrinterOptions options;
  bool help = false;
  std::string error;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!qm::printer::ParseOptions(args, options, help, error)) {
    std::fprintf(stderr, "quillmark-printer: %s\n", error.c_str());
    return 2;
  }
  if (help) {
    std::fputs(qm::printer::Usage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("quillmark-printer " QUILLMARK_VERSION);
    return 0;
  }

  if (!options.forwardQueue.empty()) {
    options.forwardPrint = [queue = options.forwardQueue](const qm::printer::ForwardedLabel& label, std::string& why) {
      return qm::PrintDocument(queue, "label " + std::to_string(label.sequence), "image/png", label.png,
                               qm::printer::TrueSizeOptions(label.widthDots, label.heightDots), why);
    };
  }

  // The serving thread inherits this mask, so the signals that end the program reach the
  // main thread's wait alone.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  // Every TCP connection is a descriptor: take all the system lets this process have, so
  // that a crowd of clients finds room before any is let go.
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);
  }

  qm::printer::VirtualPrinter printer(options);
  if (!printer.Start(error)) {
    std::fprintf(stderr, "quillmark-printer: %s\n", error.c_str());
    return 1;
  }
  // Each port with the environment setting that points the link at it.
  if (!printer.tcpAddress().empty()) std::printf("listening on %s\n", printer.tcpAddress().c_str());
  if (!printer.serialPath().empty()) {
    const std::string& path = options.serialLink.empty() ? printer.serialPath() : options.serialLink;
    std::printf("serial port %s (QUILLMARK_COM1=%s)\n", printer.serialPath().c_str(), path.c_str());
  }
  if (!printer.parallelPath().empty()) {
    const std::string& path = options.parallelLink.empty() ? printer.parallelPath() : options.parallelLink;
    std::printf("parallel port %s (QUILLMARK_LPT1=%s)\n", printer.parallelPath().c_str(), path.c_str());
  }
  if (!printer.usbNodePath().empty()) {
    std::printf("USB printer %s (QUILLMARK_SYSFS_ROOT=%s QUILLMARK_DEV_ROOT=%s)\n", printer.usbNodePath().c_str(),
                printer.usbSysfsRoot().c_str(), printer.usbDevRoot().c_str());
  }
  std::fflush(stdout);

  int received = 0;
  sigwait(&stopSignals, &received);
  printer.Stop();
  const std::string fileError = printer.lastFileError();
  if (!fileError.empty()) {
    std::fprintf(stderr, "quillmark-printer: %s\n", fileError.c_str());
    return 1;
  }
  return 0;
}
