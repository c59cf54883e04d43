#include "cli/fleet.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <streambuf>
#include <thread>

#include "cli/command.h"
#include "cli/connection_plan.h"
#include "cli/interrupt_guard.h"
#include "cli/outcome.h"

namespace qm::cli {

namespace {

// The value of `--name VALUE` or `--name=VALUE` at args[i], moving i past it; nullopt when
// args[i] is not that option (or lacks its value, which the parser then reports).
std::optional<std::string> TakeOption(const std::vector<std::string>& args, size_t& i, const std::string& name) {
  const std::string& arg = args[i];
  if (arg == name && i + 1 < args.size()) {
    i += 1;
    return args[i];
  }
  if (arg.size() > name.size() + 1 && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
    return arg.substr(name.size() + 1);
  }
  return std::nullopt;
}

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// Every printer's standard input is the fleet's, read once, when the first of them asks.
class SharedInput {
 public:
  explicit SharedInput(std::istream* source) : source_(source ? source : &std::cin) {}
  const std::string& Bytes() {
    std::call_once(read_, [this] {
      std::ostringstream all;
      all << source_->rdbuf();
      bytes_ = all.str();
    });
    return bytes_;
  }

 private:
  std::istream* source_;
  std::once_flag read_;
  std::string bytes_;
};

// A stream over the shared input that reads it only when first read itself.
class SharedInputBuffer : public std::streambuf {
 public:
  explicit SharedInputBuffer(SharedInput& input) : input_(input) {}

 protected:
  int_type underflow() override {
    if (!loaded_) {
      loaded_ = true;
      const std::string& bytes = input_.Bytes();
      char* begin = const_cast<char*>(bytes.data());
      setg(begin, begin, begin + bytes.size());
    }
    return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
  }

 private:
  SharedInput& input_;
  bool loaded_ = false;
};

// Each line of `text` with "PRINTER: " before it; a last line without its newline gets one.
void WritePrefixed(std::ostream& to, const std::string& printer, const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    const size_t stop = end == std::string::npos ? text.size() : end;
    to << printer << ": " << std::string_view(text).substr(at, stop - at) << '\n';
    at = stop + 1;
  }
}

int StatusRank(int status) {
  switch (status) {
    case static_cast<int>(ExitStatus::kDone): return 0;
    case static_cast<int>(ExitStatus::kDiffers): return 1;
    case static_cast<int>(ExitStatus::kFault): return 2;
    case static_cast<int>(ExitStatus::kPrinterFailed): return 3;
    case static_cast<int>(ExitStatus::kUsage): return 4;
    case static_cast<int>(ExitStatus::kInterrupted): return 6;
    default: return 5;  // a status of no known meaning is worse than any failure but SIGINT
  }
}

// One printer's entry of the fleet's --json: the printer, then its own result.
nlohmann::ordered_json JsonEntry(const FleetRun& run) {
  nlohmann::ordered_json entry;
  entry["printer"] = run.printer;
  if (run.status < 0) {
    entry["ok"] = false;
    entry["exit"] = static_cast<int>(ExitStatus::kInterrupted);
    entry["error"] = "not started: interrupted";
    return entry;
  }
  nlohmann::ordered_json own = nlohmann::ordered_json::parse(run.out, nullptr, false);
  if (!own.is_object()) {
    entry["ok"] = false;
    entry["exit"] = run.status;
    entry["error"] = "no result";
    return entry;
  }
  entry["ok"] = own.value("ok", run.status == 0);
  entry["exit"] = run.status;
  for (auto it = own.begin(); it != own.end(); ++it) {
    if (it.key() != "ok" && it.key() != "exit" && it.key() != "printer") entry[it.key()] = it.value();
  }
  return entry;
}

// "fleet: 37 of 1000 printers done, 2 failed", redrawn in place.
class FleetProgress {
 public:
  FleetProgress(std::ostream& err, bool shown, size_t total) : err_(err), shown_(shown), total_(total) {}
  void Draw(size_t done, size_t failed, bool again = false) {
    if (!shown_ || (!again && done == done_ && failed == failed_)) return;
    done_ = done;
    failed_ = failed;
    err_ << "\rfleet: " << done << " of " << total_ << " printers done";
    if (failed) err_ << ", " << failed << " failed";
    err_ << "   " << std::flush;
  }
  // Clears the line, for lines that must stand on their own.
  void Clear() {
    if (shown_) err_ << "\r\033[K" << std::flush;
  }
  // After a clear, the same line again.
  void Redraw() { Draw(done_, failed_, true); }

 private:
  std::ostream& err_;
  bool shown_;
  size_t total_;
  size_t done_ = 0, failed_ = 0;
};

}  // namespace

FleetLine SplitFleetLine(const std::vector<std::string>& args) {
  FleetLine line;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") {
      line.rest.insert(line.rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
      break;
    }
    if (auto port = TakeOption(args, i, "--port")) {
      line.ports.push_back(*port);
    } else if (auto hosts = TakeOption(args, i, "--hosts")) {
      line.hostsFile = *hosts;
    } else if (auto jobs = TakeOption(args, i, "--jobs")) {
      line.jobs = *jobs;
    } else {
      line.rest.push_back(args[i]);
    }
  }
  return line;
}

HostsResult ParseHosts(const std::string& text, const std::string& fileName) {
  HostsResult result;
  std::istringstream lines(text);
  std::string raw;
  for (int number = 1; std::getline(lines, raw); ++number) {
    const std::string entry = Trimmed(std::string_view(raw).substr(0, raw.find('#')));
    if (entry.empty()) continue;
    ConnectionRequest request;
    request.port = entry;
    const PlanResult planned = PlanConnection(request);
    if (!planned.plan) {
      result.error = fileName + ":" + std::to_string(number) + ": " + planned.error;
      result.printers.clear();
      return result;
    }
    result.printers.push_back(entry);
  }
  if (result.printers.empty()) result.error = fileName + ": names no printer";
  return result;
}

int WorseStatus(int a, int b) { return StatusRank(b) > StatusRank(a) ? b : a; }

int RunFleet(const FleetLine& line, std::ostream& out, std::ostream& err, const CliEnvironment& env) {
  const bool json = std::find(line.rest.begin(), line.rest.end(), "--json") != line.rest.end();
  const auto usage = [&](const std::string& message) {
    return Report(Outcome::Usage(message + " (see --help)"), "", json, out, err);
  };

  int jobs = kDefaultFleetJobs;
  if (!line.jobs.empty()) {
    const bool digits = line.jobs.size() <= 5 && std::all_of(line.jobs.begin(), line.jobs.end(), ::isdigit);
    jobs = digits ? std::stoi(line.jobs) : 0;
    if (jobs < 1 || jobs > kMaxFleetJobs) {
      return usage("--jobs: \"" + line.jobs + "\" is not a whole number from 1 to " + std::to_string(kMaxFleetJobs));
    }
  }

  std::vector<std::string> printers = line.ports;
  if (!line.hostsFile.empty()) {
    std::ifstream file(line.hostsFile, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
      if (!file || file.peek() != std::ifstream::traits_type::eof()) {
        return usage("--hosts: " + line.hostsFile + " cannot be read");
      }
    }
    const HostsResult hosts = ParseHosts(text.str(), line.hostsFile);
    if (!hosts.error.empty()) return usage(hosts.error);
    printers.insert(printers.end(), hosts.printers.begin(), hosts.printers.end());
  }
  // The same printer twice would be two links fighting over one port.
  std::map<std::string, size_t> seen;
  for (size_t i = 0; i < printers.size(); ++i) {
    if (!seen.emplace(printers[i], i).second) return usage("printer \"" + printers[i] + "\" is named twice");
  }

  const auto lineFor = [&](const std::string& printer) {
    std::vector<std::string> args = line.rest;
    // Before any "--", so it stays an option.
    const auto end = std::find(args.begin(), args.end(), "--");
    const auto at = args.insert(end, "--port");
    args.insert(at + 1, printer);
    return args;
  };

  SharedInput input(env.in);
  // The line is checked once, so a mistake in it is said once, not once a printer.
  std::unique_ptr<Command> tableCommand;
  {
    SharedInputBuffer buffer(input);
    std::istream in(&buffer);
    CliEnvironment checkEnv = env;
    checkEnv.in = &in;
    CheckedLine check = CheckLine(lineFor(printers.front()), out, err, checkEnv);
    if (check.status >= 0) return check.status;
    if (!check.fleetRefusal.empty()) return usage(check.fleetRefusal);
    if (!check.needsPrinter) {
      // Nothing to ask a printer: the line runs once, as it would for one.
      SharedInputBuffer again(input);
      std::istream againIn(&again);
      checkEnv.in = &againIn;
      return RunSingle(line.rest, out, err, checkEnv);
    }
    // A command whose fleet result is one table reads each printer's JSON result.
    if (!json && check.command && check.command->HasFleetTable()) tableCommand = std::move(check.command);
  }

  InterruptGuard guard;
  std::vector<FleetRun> runs(printers.size());
  std::vector<bool> finished(printers.size(), false);
  std::mutex mutex;
  std::condition_variable changed;
  std::atomic<size_t> next{0};
  size_t workersLeft = std::min(printers.size(), static_cast<size_t>(jobs));

  const auto work = [&] {
    for (;;) {
      // Once SIGINT came, no printer more is started.
      const size_t index = guard.requested() ? printers.size() : next.fetch_add(1);
      if (index >= printers.size()) break;
      std::vector<std::string> args = lineFor(printers[index]);
      if (tableCommand) args.push_back("--json");
      SharedInputBuffer buffer(input);
      std::istream in(&buffer);
      CliEnvironment own = env;
      own.in = &in;
      own.clock = nullptr;  // each printer waits on a clock of its own
      own.interrupt = &guard.signal();
      std::ostringstream printerOut, printerErr;
      const int status = RunSingle(args, printerOut, printerErr, own);
      std::lock_guard lock(mutex);
      runs[index] = FleetRun{printers[index], status, printerOut.str(), printerErr.str()};
      finished[index] = true;
      changed.notify_all();
    }
    std::lock_guard lock(mutex);
    --workersLeft;
    changed.notify_all();
  };

  std::vector<std::thread> threads;
  for (size_t i = 0, n = workersLeft; i < n; ++i) threads.emplace_back(work);

  FleetProgress progress(err, &err == &std::cerr && ::isatty(STDERR_FILENO) == 1, printers.size());
  int worst = static_cast<int>(ExitStatus::kDone);
  {
    std::unique_lock lock(mutex);
    size_t shown = 0;
    progress.Draw(0, 0, true);
    for (;;) {
      changed.wait_for(lock, std::chrono::milliseconds(200));
      const bool over = workersLeft == 0;
      // In the order the printers were named, each as soon as those before it are out; once
      // every worker is gone, a printer never started is said to be so.
      bool cleared = false;
      while (shown < runs.size() && (finished[shown] || over)) {
        if (!cleared) progress.Clear();
        cleared = true;
        FleetRun& run = runs[shown];
        if (!finished[shown]) {
          run = FleetRun{printers[shown], -1, {}, std::string(kProgramName) + ": not started: interrupted\n"};
        }
        if (!json && !tableCommand) WritePrefixed(out, run.printer, run.out);
        WritePrefixed(err, run.printer, run.err);
        ++shown;
      }
      if (cleared) out.flush();
      if (shown == runs.size()) break;
      size_t done = 0, failed = 0;
      for (size_t i = 0; i < runs.size(); ++i) {
        done += finished[i];
        failed += finished[i] && runs[i].status != 0;
      }
      if (cleared && done == 0) progress.Redraw();
      progress.Draw(done, failed);
    }
  }
  for (auto& thread : threads) thread.join();
  progress.Clear();

  for (const FleetRun& run : runs) {
    worst = WorseStatus(worst, run.status < 0 ? static_cast<int>(ExitStatus::kInterrupted) : run.status);
  }
  if (json) {
    nlohmann::ordered_json all;
    all["printers"] = nlohmann::ordered_json::array();
    for (const FleetRun& run : runs) all["printers"].push_back(JsonEntry(run));
    out << all.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else if (tableCommand) {
    out << tableCommand->FleetTable(runs);
  }
  out.flush();
  return worst;
}

}  // namespace qm::cli
