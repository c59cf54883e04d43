#include "printer/printer_options.h"

#include <charconv>

#include "printer/tcp_server.h"

namespace qm::printer {

namespace {

bool ParseInt(const std::string& text, int lo, int hi, int& value) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
  value = v;
  return true;
}

}  // namespace

std::string Usage() {
  return "Usage: quillmark-printer [options]\n"
         "A QDRL label printer that answers every query, for demos and tests.\n"
         "\n"
         "Ports (several may be served at once; all share one printer):\n"
         "  --listen ADDR:PORT  TCP port (default 127.0.0.1:9100; port 0 picks a free one;\n"
         "                      \"none\" serves no TCP port: give another port then)\n"
         "  --idle-timeout S    close a TCP connection silent for S seconds (default 60;\n"
         "                      0: never)\n"
         "  --owner-only        take a TCP connection only from a socket of this machine\n"
         "                      owned by the user running the printer; others are closed\n"
         "                      at once and logged (by default anyone may connect, as to\n"
         "                      a real printer)\n"
         "  --serial [LINK]     a pseudo-terminal for a COM port; LINK becomes a symlink to it\n"
         "  --parallel [LINK]   the same for an LPT port\n"
         "  --usb DIR           a fake usblp device under DIR: DIR/dev/usb/lp0 and the sysfs\n"
         "                      entries USB discovery reads (point the link's sysfs root at\n"
         "                      DIR/sys and its /dev root at DIR/dev)\n"
         "  --model N           printer model 0 to 7 (USB ids, model name); default 1\n"
         "\n"
         "Files:\n"
         "  --state FILE        load the settings from FILE (JSON) and keep it up to date\n"
         "  --out DIR           write every printed label to DIR as a readable record\n"
         "                      (label-NNNNNN.txt) and as the picture it prints\n"
         "                      (label-NNNNNN.png, 8 dots per mm)\n"
         "  --forward QUEUE     print every label on the CUPS queue QUEUE as well, as a\n"
         "                      PNG at its true size (a page of the label's size, no\n"
         "                      scaling); a queue or server that refuses is logged on\n"
         "                      standard error and the printer goes on answering\n"
         "\n"
         "RFID tag (under the encoder; a fresh one comes with every printed label):\n"
         "  EPC and user memory of 128 bytes each; written data reads back at its block.\n"
         "  >RFZ stores the access and kill passwords. An area locked with the password\n"
         "  (>RFLK, or >RFLP with the left box) refuses writes until unlocked (>RFUL, or\n"
         "  >RFLP,U); one perma-locked (both boxes) refuses for good. >RFKL kills a tag\n"
         "  whose kill password is not zero: it answers nothing afterwards.\n"
         "\n"
         "Faults on demand:\n"
         "  --fault LIST        comma-separated: paper-empty, cover-open, cutter-jam,\n"
         "                      head-overheat, gap-error, ribbon-end, paper-jam, paused,\n"
         "                      printing, busy, building (a label under way),\n"
         "                      no-tag (no RFID tag in reach: tag reads answer nothing,\n"
         "                      tag writes fail and void their label),\n"
         "                      cps=HH (more CPS bits, hex), ee=XY (the ^ee class and code)\n"
         "  --silent            answer nothing\n"
         "  --delay MS          hold every reply back MS milliseconds\n"
         "  --split             send every reply in two pieces\n"
         "  --split-pause MS    pause between the two pieces (default 2)\n"
         "  --log               print every command and reply, escaped, with timestamps\n"
         "  --help              show this text\n"
         "  --version           show the version\n";
}

bool ParseOptions(const std::vector<std::string>& args, PrinterOptions& options, bool& help,
                  std::string& error) {
  help = false;
  PrinterOptions o = options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    // A value that must follow the option.
    const auto value = [&](std::string& out) {
      if (inlineValue) {
        out = *inlineValue;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    // A value that may follow: the next argument unless it is another option.
    const auto optionalValue = [&](std::string& out) {
      if (inlineValue) {
        out = *inlineValue;
      } else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
        out = args[++i];
      }
    };
    const auto number = [&](int lo, int hi, int& out) {
      std::string text;
      if (!value(text)) return false;
      if (!ParseInt(text, lo, hi, out)) {
        error = name + " " + text + ": expected a number from " + std::to_string(lo) + " to " + std::to_string(hi);
        return false;
      }
      return true;
    };
    const auto flag = [&](bool& out) {
      if (inlineValue) {
        error = name + " takes no value";
        return false;
      }
      out = true;
      return true;
    };
    std::string text;
    bool ok = true;
    if (name == "--help" || name == "-h") {
      help = true;
      return true;
    } else if (name == "--version") {
      options.version = true;
      return true;
    } else if (name == "--listen") {
      ok = value(text);
      std::string host;
      uint16_t port = 0;
      if (ok && text != "none" && !SplitHostPort(text, host, port, error)) {
        error = "--listen " + error;
        ok = false;
      }
      if (ok) o.listen = text == "none" ? std::nullopt : std::optional<std::string>(text);
    } else if (name == "--serial") {
      o.serial = true;
      optionalValue(o.serialLink);
    } else if (name == "--parallel") {
      o.parallel = true;
      optionalValue(o.parallelLink);
    } else if (name == "--usb") {
      ok = value(o.usbDir);
      if (ok && o.usbDir.empty()) {
        error = "--usb needs a folder";
        ok = false;
      }
    } else if (name == "--model") {
      ok = number(0, kModelCount - 1, o.model);
    } else if (name == "--state") {
      ok = value(o.stateFile);
    } else if (name == "--out") {
      ok = value(o.outDir);
    } else if (name == "--forward") {
      ok = value(o.forwardQueue);
      if (ok && o.forwardQueue.empty()) {
        error = "--forward needs a queue name";
        ok = false;
      }
    } else if (name == "--fault") {
      ok = value(text) && ParseFaults(text, o.faults, error);
    } else if (name == "--silent") {
      ok = flag(o.silent);
    } else if (name == "--delay") {
      ok = number(0, 60000, o.delayMs);
    } else if (name == "--split") {
      ok = flag(o.split);
    } else if (name == "--split-pause") {
      ok = number(0, 60000, o.splitPauseMs);
    } else if (name == "--log") {
      ok = flag(o.log);
    } else if (name == "--idle-timeout") {
      int seconds = 0;
      ok = number(0, 86400, seconds);
      if (ok) o.idleTimeoutMs = int64_t{seconds} * 1000;
    } else if (name == "--owner-only") {
      ok = flag(o.ownerOnly);
    } else {
      error = "unknown option " + name + " (see --help)";
      ok = false;
    }
    if (!ok) return false;
  }
  if (!o.listen && !o.serial && !o.parallel && o.usbDir.empty()) {
    error = "--listen none leaves no port to serve: add --serial, --parallel or --usb";
    return false;
  }
  options = std::move(o);
  return true;
}

}  // namespace qm::printer
