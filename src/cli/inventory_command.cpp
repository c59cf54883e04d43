// `inventory`: what a printer is and how it is, on one line: model, model type, firmware,
// head temperature, serial number, printer ID and status. On a fleet, one table of them all.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/command.h"
#include "cli/escape.h"
#include "cli/fleet.h"
#include "cli/setting_text.h"
#include "cli/stream_prompter.h"
#include "link/query.h"
#include "settings/hardware_info.h"
#include "settings/printer_status.h"
#include "settings/user_settings.h"

namespace qm::cli {

namespace {

// The columns, as the table heads them, the CSV names them and --json keys them.
struct Column {
  const char* head;
  const char* csv;
  const char* key;
};
constexpr Column kColumns[] = {
    {"MODEL", "model", "modelName"},
    {"TYPE", "model type", "modelType"},
    {"FIRMWARE", "firmware", "firmwareVersion"},
    {"TPH", "tph temperature", "temperature"},
    {"SERIAL", "serial number", "serialNumber"},
    {"PRINTER ID", "printer id", "printerId"},
    {"STATUS", "status", "status"},
};

using Row = std::vector<std::string>;

// RFC 4180: a field with a comma, a quote or a line end is quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// Display width in characters: UTF-8 continuation bytes take no column.
size_t Width(const std::string& text) {
  size_t width = 0;
  for (const char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

std::string Table(const std::vector<Row>& rows, bool csv) {
  std::string out;
  if (csv) {
    for (const Row& row : rows) {
      for (size_t i = 0; i < row.size(); ++i) out += (i ? "," : "") + CsvField(row[i]);
      out += "\n";
    }
    return out;
  }
  std::vector<size_t> widths;
  for (const Row& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
  }
  for (const Row& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - Width(row[i]) + 2, ' ');
    }
    out += line + "\n";
  }
  return out;
}

// A value from a printer's JSON result fit for one cell: UTF-8 kept, a control byte (a
// garbled reply's line ends) escaped as `query` shows it, so the table keeps its lines.
std::string Cell(const std::string& text) {
  std::string out;
  for (const char c : StripLineEnds(text)) {
    const auto b = static_cast<unsigned char>(c);
    out += b < 0x20 || b == 0x7F ? EscapeBytes(std::string_view(&c, 1)) : std::string(1, c);
  }
  return out;
}

Row Heads(bool csv, bool withPrinter) {
  Row row;
  if (withPrinter) row.emplace_back(csv ? "printer" : "PRINTER");
  for (const Column& column : kColumns) row.emplace_back(csv ? column.csv : column.head);
  return row;
}

class InventoryCommand : public Command {
 public:
  CLI::App* Register(CLI::App& parent) override {
    CLI::App* sub = parent.add_subcommand(
        "inventory", "Read the model, model type, firmware, TPH temperature, serial number, printer ID and status");
    sub->add_flag("--csv", csv_, "print comma-separated values with a header line instead of a table");
    sub->footer(
        "One row a printer: on several printers (--port more than once, or --hosts) one table, its first "
        "column the printer, and a printer that failed has the reason in its status. The status is the "
        "cp status, its conditions joined with \"; \". Exit status: 0 read, 3 a status that reports a "
        "fault, 1 the printer did not answer.");
    return sub;
  }

  std::string Prepare(std::istream&) override { return {}; }

  Outcome Run(Session& session) override {
    // Each tool's message of success would only repeat the row; they are shown when a step fails.
    HeldPrompter held;
    const PrinterInformation info = GetPrinterInformation(session.link, session.clock, held);
    if (info.failedQuery || !info.ok) {
      held.ReleaseTo(session.prompter);
      const std::string& why = session.link.lastError();
      return Outcome::PrinterFailed(info.failedQuery ? "the " + std::string(Noun(*info.failedQuery)) +
                                                           " query failed" + (why.empty() ? "" : ": " + why)
                                                     : NoReply(session.link, "no reply to the printer information"));
    }
    HeldPrompter identity;
    const auto serial = GetHardwareItem(session.link, session.clock, identity, HardwareItem::kSerialNumber);
    const auto printerId = GetHardwareItem(session.link, session.clock, identity, HardwareItem::kPrinterId);
    HeldPrompter statusMessages;
    const StatusRead status = CheckPrinterStatus(session.link, session.clock, statusMessages, StatusCommand::kCp);

    std::vector<std::string> conditions;
    ExitStatus exit = ExitStatus::kDone;
    if (!status.ok) {
      statusMessages.ReleaseTo(session.prompter);
      conditions.emplace_back("The status could not be read");
      exit = ExitStatus::kPrinterFailed;
    } else {
      for (const int box : status.ticked) conditions.emplace_back(StatusBoxes(StatusCommand::kCp)[static_cast<size_t>(box)]);
      if (conditions.empty()) conditions.emplace_back("Unknown status");
      if (!StatusIsOk(StatusCommand::kCp, status.ticked)) exit = ExitStatus::kFault;
    }
    std::string joined;
    for (const std::string& condition : conditions) joined += (joined.empty() ? "" : "; ") + condition;

    const Row cells = {OneLine(info.modelName), OneLine(info.modelType), OneLine(info.firmwareVersion),
                       OneLine(info.temperature), serial ? OneLine(*serial) : "", printerId ? OneLine(*printerId) : "",
                       joined};
    JsonObject fields;
    fields.Add("modelName", Latin1ToUtf8(StripLineEnds(info.modelName)));
    fields.Add("modelType", Latin1ToUtf8(StripLineEnds(info.modelType)));
    fields.Add("firmwareVersion", Latin1ToUtf8(StripLineEnds(info.firmwareVersion)));
    fields.Add("temperature", Latin1ToUtf8(StripLineEnds(info.temperature)));
    fields.Add("serialNumber", serial ? Latin1ToUtf8(*serial) : "");
    fields.Add("printerId", printerId ? Latin1ToUtf8(*printerId) : "");
    fields.Add("status", conditions);
    fields.Add("statusOk", exit == ExitStatus::kDone);

    Outcome outcome = Outcome::Done(Table({Heads(csv_, false), cells}, csv_), fields);
    // The row already ends its line.
    if (!outcome.text.empty() && outcome.text.back() == '\n') outcome.text.pop_back();
    outcome.status = exit;
    if (exit == ExitStatus::kPrinterFailed) outcome.error = "the status could not be read";
    return outcome;
  }

  bool HasFleetTable() const override { return true; }

  std::string FleetTable(const std::vector<FleetRun>& runs) const override {
    std::vector<Row> rows = {Heads(csv_, true)};
    for (const FleetRun& run : runs) {
      Row row = {run.printer};
      const nlohmann::json result = nlohmann::json::parse(run.out, nullptr, false);
      const bool hasRow = result.is_object() && result.contains("modelName");
      for (const Column& column : kColumns) {
        const std::string key = column.key;
        if (key == "status") {
          std::string text;
          if (hasRow && result["status"].is_array()) {
            for (const auto& condition : result["status"]) {
              if (condition.is_string()) text += (text.empty() ? "" : "; ") + condition.get<std::string>();
            }
          } else if (run.status < 0) {
            text = "not started: interrupted";
          } else {
            text = "failed: " + (result.is_object() ? result.value("error", std::string("no result")) : "no result");
          }
          row.push_back(Cell(text));
        } else {
          row.push_back(hasRow && result[key].is_string() ? Cell(result[key].get<std::string>()) : "");
        }
      }
      rows.push_back(std::move(row));
    }
    return Table(rows, csv_);
  }

 private:
  bool csv_ = false;
};

}  // namespace

std::unique_ptr<Command> MakeInventoryCommand() { return std::make_unique<InventoryCommand>(); }

}  // namespace qm::cli
